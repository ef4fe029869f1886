// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <limits>

namespace platform {

// v held to the int range.
constexpr int saturate(std::int64_t v)
{
    return v < std::numeric_limits<int>::min()   ? std::numeric_limits<int>::min()
           : v > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(v);
}

// a × b ÷ c computed exactly, plus one half, truncated toward zero. For negative
// results this is not symmetric (−1.5 gives −1, −0.7 gives 0). Card lengths (item
// units, points, millimetres) become device pixels this way and pictures are fitted
// to their boxes; dialog units use mulDivNearest, and a few conversions round their
// own way where they say so. Results beyond the int range saturate; c = 0 gives 0.
int mulDivRound(std::int64_t a, std::int64_t b, std::int64_t c);

// Whole millimetres and tenths of a millimetre to pixels at pixelsPerInch.
inline int mmToPixels(int mm, int pixelsPerInch)
{
    return mulDivRound(mm, std::int64_t(pixelsPerInch) * 10, 254);
}
inline int tenthMmToPixels(int tenths, int pixelsPerInch)
{
    return mulDivRound(tenths, std::int64_t(pixelsPerInch) * 10, 2540);
}

// The platform's MulDiv: a × b ÷ c rounded half away from zero; −1 when c is 0 or
// the result does not fit. Used where dialog units become pixels.
int mulDivNearest(int a, int b, int c);

} // namespace platform
