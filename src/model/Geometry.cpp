// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Geometry.h"

#include "platform/GdiMath.h"

using platform::Rect;
using platform::saturate;

Rect centreIn(const Rect& rect, const Rect& outer)
{
    const std::int64_t w = rect.width();
    const std::int64_t h = rect.height();
    const std::int64_t left = outer.left + (outer.width() - w) / 2;
    const std::int64_t top = outer.top + (outer.height() - h) / 2;
    return {saturate(left), saturate(top), saturate(left + w), saturate(top + h)};
}

QSize fitInBox(QSize size, QSize box)
{
    const int w = platform::mulDivRound(size.width(), box.height(), size.height());
    if (w <= box.width())
        return {w, box.height()};
    return {box.width(), platform::mulDivRound(size.height(), box.width(), size.width())};
}

std::uint32_t blendColor(std::uint32_t fore, std::uint32_t back, int alpha)
{
    if (alpha >= 255)
        return fore;
    if (alpha <= 0)
        return back;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int f = int((fore >> shift) & 0xFF);
        const int b = int((back >> shift) & 0xFF);
        out |= std::uint32_t(b + (f - b) * alpha / 255) << shift;
    }
    return out;
}
