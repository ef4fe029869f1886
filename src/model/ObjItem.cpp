// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItem.h"

#include "model/ClassRegistry.h"
#include "model/Geometry.h"
#include "model/ItemBody.h"

using platform::addSat;
using platform::Rect;

const ClassInfo& ObjItem::runtimeClass() const
{
    return kObjItemClass;
}

void ObjItem::Serialize(Archive& ar)
{
    itembody::serializeCommon(ar, x, y, cx, cy, color);
}

std::unique_ptr<ObjItem> ObjItem::Clone() const
{
    return std::unique_ptr<ObjItem>(new ObjItem(*this));
}

void ObjItem::Draw(platform::Dc&) const {}

bool ObjItem::HitTest(int px, int py, const ViewScale&) const
{
    return GetBounds().contains(px, py);
}

bool ObjItem::GetHandle(int, QPoint&) const
{
    return false;
}

void ObjItem::Offset(int dx, int dy)
{
    x = addSat(x, dx);
    y = addSat(y, dy);
}

void ObjItem::MoveHandle(int, int, int) {}

Rect ObjItem::GetBounds() const
{
    return plainBounds();
}

Rect ObjItem::plainBounds() const
{
    return {x, y, addSat(x, cx), addSat(y, cy)};
}

void ObjItem::centreOnCard(const Rect& card)
{
    const Rect r = centreIn(plainBounds(), card);
    x = r.left;
    y = r.top;
}
