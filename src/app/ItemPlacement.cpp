// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ItemPlacement.h"

#include "model/ObjItem.h"
#include "model/ViewScale.h"
#include "platform/GdiMath.h"

#include <algorithm>
#include <cstdint>

namespace placement {

void offsetAsDuplicate(ObjItem& copy, const ViewScale& scale, const platform::Rect& card)
{
    const platform::Rect b = scale.toDevice(copy.GetBounds());
    const std::int64_t h = b.height();
    const std::int64_t cardW = card.width();
    const std::int64_t cardH = card.height();
    if (b.bottom + h + 2 < cardH) {
        copy.Offset(0, scale.toUnits(platform::saturate(h + 2)));
    } else {
        const std::int64_t left = (cardW - b.width()) / 2;
        const std::int64_t top = (cardH - h) / 2;
        copy.Offset(scale.toUnits(platform::saturate(left - b.left)), scale.toUnits(platform::saturate(top - b.top)));
    }
}

namespace {

// The shift that brings [low, high) inside [0, extent), or to 0 when it is wider.
std::int64_t shiftInto(std::int64_t low, std::int64_t high, std::int64_t extent)
{
    if (high - low >= extent || low < 0)
        return -low;
    return high > extent ? extent - high : 0;
}

} // namespace

void keepOnCard(ObjItem& item, const platform::Rect& cardUnits)
{
    const platform::Rect b = item.GetBounds();
    const std::int64_t dx = shiftInto(b.left, b.right, cardUnits.width());
    const std::int64_t dy = shiftInto(b.top, b.bottom, cardUnits.height());
    if (dx != 0 || dy != 0)
        item.Offset(platform::saturate(dx), platform::saturate(dy));
}

} // namespace placement
