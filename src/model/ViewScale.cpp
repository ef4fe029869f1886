// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ViewScale.h"

#include "platform/Dc.h"
#include "platform/GdiMath.h"

using platform::mulDivRound;
using platform::Rect;

ViewScale ViewScale::of(const platform::Dc& dc)
{
    return at(dc.scale());
}

int ViewScale::toDevice(int units) const
{
    return current == kUnitsPerInch ? units : mulDivRound(units, current, kUnitsPerInch);
}

QPoint ViewScale::toDevice(QPoint units) const
{
    return {toDevice(units.x()), toDevice(units.y())};
}

Rect ViewScale::toDevice(const Rect& r) const
{
    return {toDevice(r.left), toDevice(r.top), toDevice(r.right), toDevice(r.bottom)};
}

int ViewScale::toUnits(int pixels) const
{
    return current == kUnitsPerInch ? pixels : mulDivRound(pixels, kUnitsPerInch, current);
}

QPoint ViewScale::toUnits(QPoint pixels) const
{
    return {toUnits(pixels.x()), toUnits(pixels.y())};
}

Rect ViewScale::toUnits(const Rect& r) const
{
    return {toUnits(r.left), toUnits(r.top), toUnits(r.right), toUnits(r.bottom)};
}

int ViewScale::mmToDevice(int mm) const
{
    return platform::mmToPixels(mm, current);
}

int ViewScale::tenthMmToDevice(int tenths) const
{
    return platform::tenthMmToPixels(tenths, current);
}
