#include "model/ViewScale.h"

#include "platform/GdiMath.h"

using platform::mulDivRound;
using platform::Rect;

ViewScale& viewScale()
{
    static ViewScale scale;
    return scale;
}

int& printingFlag()
{
    static int flag = 0;
    return flag;
}

int toDevice(int units)
{
    const int cur = viewScale().current;
    return cur == ViewScale::kUnitsPerInch ? units : mulDivRound(units, cur, ViewScale::kUnitsPerInch);
}

QPoint toDevice(QPoint units)
{
    return {toDevice(units.x()), toDevice(units.y())};
}

Rect toDevice(const Rect& r)
{
    return {toDevice(r.left), toDevice(r.top), toDevice(r.right), toDevice(r.bottom)};
}

int toUnits(int pixels)
{
    const int cur = viewScale().current;
    return cur == ViewScale::kUnitsPerInch ? pixels : mulDivRound(pixels, ViewScale::kUnitsPerInch, cur);
}

QPoint toUnits(QPoint pixels)
{
    return {toUnits(pixels.x()), toUnits(pixels.y())};
}

Rect toUnits(const Rect& r)
{
    return {toUnits(r.left), toUnits(r.top), toUnits(r.right), toUnits(r.bottom)};
}

int mmToDevice(int mm)
{
    return mulDivRound(mm, std::int64_t(viewScale().current) * 10, 254);
}

int tenthMmToDevice(int tenths)
{
    return mulDivRound(tenths, std::int64_t(viewScale().current) * 10, 2540);
}
