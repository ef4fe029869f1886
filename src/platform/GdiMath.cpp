// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GdiMath.h"

#include <limits>

namespace platform {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

} // namespace

int mulDivRound(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return 0;
    // Inputs are held to the int range first, so a × b cannot overflow.
    std::int64_t n = std::int64_t(saturate(a)) * saturate(b);
    std::int64_t d = saturate(c);
    if (d < 0) {
        n = -n;
        d = -d;
    }
    // n / d + 1/2 = q + f, with f = (2r + d) / 2d in (−1/2, 3/2).
    const std::int64_t q = n / d;
    const std::int64_t r = n % d;
    const std::int64_t num = 2 * r + d; // in (−d, 3d)
    const std::int64_t twoD = 2 * d;
    bool nonNegative;
    if (q > 0)
        nonNegative = true;
    else if (q < 0)
        nonNegative = false;
    else
        nonNegative = num >= 0;
    std::int64_t result;
    if (nonNegative) // floor(q + f) = q + floor(f)
        result = q + (num < 0 ? -1 : (num >= twoD ? 1 : 0));
    else // ceil(q + f) = q + ceil(f)
        result = q + (num <= 0 ? 0 : (num <= twoD ? 1 : 2));
    return saturate(result);
}

int mulDivNearest(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t n = static_cast<std::int64_t>(a) * b;
    const bool negative = (n < 0) != (c < 0);
    const std::uint64_t un = n < 0 ? static_cast<std::uint64_t>(-(n + 1)) + 1 : static_cast<std::uint64_t>(n);
    const std::uint64_t ud = c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
    std::uint64_t q = un / ud;
    if (2 * (un % ud) >= ud)
        ++q;
    const std::int64_t result = negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
    if (result < kIntMin || result > kIntMax)
        return -1;
    return static_cast<int>(result);
}

} // namespace platform
