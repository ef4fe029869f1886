// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemRect.h"

#include "model/ClassRegistry.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"

#include <algorithm>

using platform::addSat;
using platform::Rect;

ObjItemRect::ObjItemRect()
{
    kind = KindRect;
    cx = cy = ViewScale().toUnits(30); // 30 pixels at the start scale
}

ObjItemRect::ObjItemRect(const Rect& card, const ViewScale& scale) : ObjItemRect()
{
    cx = cy = scale.toUnits(30);
    centreOnCard(card);
}

const ClassInfo& ObjItemRect::runtimeClass() const
{
    return kObjItemRectClass;
}

std::unique_ptr<ObjItem> ObjItemRect::Clone() const
{
    return std::make_unique<ObjItemRect>(*this);
}

bool ObjItemRect::cornerHandle(const Rect& r, int index, QPoint& out)
{
    switch (index) {
    case 0: out = {r.right, r.bottom}; return true;
    case 1: out = {r.left, r.top}; return true;
    case 2: out = {r.left, r.bottom}; return true;
    case 3: out = {r.right, r.top}; return true;
    default: return false;
    }
}

bool ObjItemRect::GetHandle(int index, QPoint& out) const
{
    return cornerHandle(plainBounds(), index, out);
}

void ObjItemRect::MoveHandle(int index, int dx, int dy)
{
    if (index < 0 || index > 3)
        return;
    Rect r = plainBounds();
    const bool movesRight = index == 0 || index == 3;
    const bool movesBottom = index == 0 || index == 2;
    if (movesRight)
        r.right = std::max(addSat(r.right, dx), addSat(r.left, 1));
    else
        r.left = std::min(addSat(r.left, dx), addSat(r.right, -1));
    if (movesBottom)
        r.bottom = std::max(addSat(r.bottom, dy), addSat(r.top, 1));
    else
        r.top = std::min(addSat(r.top, dy), addSat(r.bottom, -1));
    x = r.left;
    y = r.top;
    cx = platform::saturate(r.width());
    cy = platform::saturate(r.height());
}

void ObjItemRect::Draw(platform::Dc& dc) const
{
    const Rect r = ViewScale::of(dc).toDevice(plainBounds()).inflated(1, 1);
    const platform::Pen pen = dc.setPen(platform::Pen::null());
    const platform::Brush brush = dc.setBrush(platform::Brush::solid(platform::colorFromRef(color)));
    dc.rectangle(r.left, r.top, r.right, r.bottom);
    dc.setBrush(brush);
    dc.setPen(pen);
}
