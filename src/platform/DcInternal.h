// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GdiMath.h"

#include <QRect>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Arithmetic shared by the Dc sources.
namespace platform::dcdetail {

using i64 = std::int64_t;

// Coordinates beyond this overflow Qt's fixed-point rasterizer.
inline constexpr double kSafeCoordinate = double(1 << 22);

// The rectangle with these edges (right and bottom exclusive), cut to what an
// int QRect can hold.
inline QRect rectFromEdges(i64 l, i64 t, i64 r, i64 b)
{
    constexpr i64 lo = i64(std::numeric_limits<int>::min()) + 1;
    constexpr i64 hi = std::numeric_limits<int>::max();
    l = std::clamp(l, lo, hi);
    t = std::clamp(t, lo, hi);
    r = std::clamp(r, l, std::min(hi, l + hi));
    b = std::clamp(b, t, std::min(hi, t + hi));
    QRect q;
    q.setCoords(int(l), int(t), int(r - 1), int(b - 1));
    return q;
}

inline bool withinSafeRange(const QRectF& r)
{
    return r.left() > -kSafeCoordinate && r.top() > -kSafeCoordinate && r.right() < kSafeCoordinate
           && r.bottom() < kSafeCoordinate;
}

// i · d ÷ n rounded to nearest, halves upward; n > 0. Exact for all 64-bit
// operands the Dc produces (|i|, |d|, n < 2^33).
inline i64 roundedRatio(i64 i, i64 d, i64 n)
{
#if defined(__SIZEOF_INT128__)
    __extension__ typedef __int128 i128;
    const i128 num = i128(2) * i * d + n;
    const i128 den = i128(2) * n;
    i128 q = num / den;
    if ((num % den != 0) && (num < 0))
        --q;
    return i64(q);
#else
    const long double v = (2.0L * i * d + n) / (2.0L * n);
    return i64(std::floor(v));
#endif
}

} // namespace platform::dcdetail
