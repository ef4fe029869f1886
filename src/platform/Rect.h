// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GdiMath.h"

#include <QPoint>
#include <QRect>

#include <cstdint>

namespace platform {

// a + b without overflow.
constexpr int addSat(int a, int b) { return saturate(std::int64_t(a) + b); }

// A rectangle as the platform keeps one: left and top inside, right and bottom
// outside. It is not normalised: right < left is kept as given.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr std::int64_t width() const { return std::int64_t(right) - left; }
    constexpr std::int64_t height() const { return std::int64_t(bottom) - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    // PtInRect: left and top edges in, right and bottom edges out.
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect translated(int dx, int dy) const
    {
        return {addSat(left, dx), addSat(top, dy), addSat(right, dx), addSat(bottom, dy)};
    }
    constexpr Rect inflated(int dx, int dy) const
    {
        return {addSat(left, -dx), addSat(top, -dy), addSat(right, dx), addSat(bottom, dy)};
    }
    Rect intersected(const Rect& o) const
    {
        Rect r{qMax(left, o.left), qMax(top, o.top), qMin(right, o.right), qMin(bottom, o.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }
    // The same area as a QRect (normalised); empty when this is empty.
    QRect toQRect() const
    {
        return isEmpty() ? QRect() : QRect(left, top, saturate(width()), saturate(height()));
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace platform
