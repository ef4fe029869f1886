// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemLine.h"

#include "model/ClassRegistry.h"
#include "model/ItemBody.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"

#include <algorithm>
#include <cstdlib>

using platform::addSat;

ObjItemLine::ObjItemLine()
{
    kind = KindLine;
    cx = ViewScale().toUnits(30); // 30 pixels at the start scale
}

ObjItemLine::ObjItemLine(const platform::Rect& card, const ViewScale& scale) : ObjItemLine()
{
    cx = scale.toUnits(30);
    centreOnCard(card);
}

const ClassInfo& ObjItemLine::runtimeClass() const
{
    return kObjItemLineClass;
}

void ObjItemLine::Serialize(Archive& ar)
{
    ObjItem::Serialize(ar);
    itembody::serializeLine(ar, width);
}

std::unique_ptr<ObjItem> ObjItemLine::Clone() const
{
    return std::make_unique<ObjItemLine>(*this);
}

int ObjItemLine::fieldWidth(std::uint64_t value)
{
    if (value <= UINT32_MAX && std::int32_t(std::uint32_t(value)) < 0)
        return 0;
    return int(std::min<std::uint64_t>(value, kMaxWidth));
}

bool ObjItemLine::GetHandle(int index, QPoint& out) const
{
    if (index == 0) {
        out = {x, y};
        return true;
    }
    if (index == 1) {
        out = {addSat(x, cx), addSat(y, cy)};
        return true;
    }
    return false;
}

void ObjItemLine::MoveHandle(int index, int dx, int dy)
{
    if (index == 1) {
        cx = addSat(cx, dx);
        cy = addSat(cy, dy);
        if (cx == 0 && cy == 0)
            cx = 1;
    } else if (index == 0) {
        x = addSat(x, dx);
        y = addSat(y, dy);
        cx = addSat(cx, -dx);
        cy = addSat(cy, -dy);
        if (cx == 0 && cy == 0) {
            cx = 1;
            x = addSat(x, -1);
        }
    }
}

namespace {

std::int64_t floorHalf(std::int64_t v)
{
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

} // namespace

bool ObjItemLine::HitSegment(QPoint p, QPoint a0, QPoint b0, int t)
{
    std::int64_t ax = a0.x(), ay = a0.y(), bx = b0.x(), by = b0.y();
    const std::int64_t px = p.x(), py = p.y();
    // Each round halves the segment, so 64 rounds reach a point.
    for (int round = 0; round < 70; ++round) {
        const std::int64_t mx = ax + floorHalf(bx - ax);
        const std::int64_t my = ay + floorHalf(by - ay);
        if (std::llabs(px - mx) <= t && std::llabs(py - my) <= t)
            return true;
        if (px < std::min(ax, bx) - t || px > std::max(ax, bx) + t + 1)
            return false;
        if (py < std::min(ay, by) - t || py > std::max(ay, by) + t + 1)
            return false;
        if (std::llabs(ax - bx) <= 1 && std::llabs(ay - by) <= 1)
            return false;
        const bool steep = std::llabs(bx - ax) < std::llabs(by - ay);
        const bool nearA = steep ? std::llabs(py - ay) < std::llabs(py - by)
                                 : std::llabs(px - ax) < std::llabs(bx - px);
        if (nearA) {
            bx = mx;
            by = my;
        } else {
            ax = mx;
            ay = my;
        }
    }
    return false;
}

bool ObjItemLine::HitTest(int px, int py, const ViewScale& scale) const
{
    const int t = scale.toUnits(2);
    return HitSegment({px, py}, {x, y}, {addSat(x, cx), addSat(y, cy)}, t);
}

void ObjItemLine::Draw(platform::Dc& dc) const
{
    // A stored width outside the panel's range is drawn as the nearest sane pen.
    const ViewScale scale = ViewScale::of(dc);
    const int penWidth = std::clamp(scale.tenthMmToDevice(width), 0, 1 << 16);
    const platform::Pen previous = dc.setPen(platform::Pen::solid(platform::colorFromRef(color), penWidth));
    const QPoint start = scale.toDevice(QPoint(x, y));
    const QPoint end = scale.toDevice(QPoint(addSat(x, cx), addSat(y, cy)));
    dc.moveTo(start.x(), start.y());
    dc.lineTo(end.x(), end.y());
    dc.setPen(previous);
}
