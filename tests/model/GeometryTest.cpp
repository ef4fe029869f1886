// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Geometry.h"
#include "model/ViewScale.h"
#include "platform/GdiMath.h"

#include <gtest/gtest.h>

#include <climits>

using platform::mulDivRound;
using platform::Rect;

TEST(MulDivRound, AddsHalfTruncatesTowardZeroAndNeverOverflows)
{
    const struct { int a, b, c, expected; } cases[] = {
        {3, 1, 2, 2}, {-3, 1, 2, -1}, {-13, 1, 5, -2}, {5, -1, 2, -2}, // 1.5, -1.5, -2.6, -2.5
        {-120, 72, 720, -11}, // a negative whole result loses one: -12 points at 72 dpi draw at -11
        {INT_MIN, INT_MAX, INT_MAX, INT_MIN + 1}, // -2^31 + 0.5 truncated
        {INT_MAX, 800, 72, INT_MAX},  {INT_MIN, 800, 72, INT_MIN}, // saturates
        {1000000000, 1000000000, 1000000000, 1000000000}, {5, 7, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mulDivRound(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
    // The platform's MulDiv rounds away from zero.
    EXPECT_EQ(std::pair(platform::mulDivNearest(-3, 1, 2), platform::mulDivNearest(1, 1, 0)), std::pair(-2, -1));
}

TEST(ViewScaleConversions, SkipWhileTheScaleIs720AndRoundOtherwise)
{
    const ViewScale s720 = ViewScale::at(720), s72 = ViewScale::at(72), s600 = ViewScale::at(600);
    EXPECT_EQ(std::tuple(s720.toDevice(-7), s720.toUnits(13), s72.toUnits(1)), std::tuple(-7, 13, 10));
    EXPECT_EQ(s72.toDevice(Rect{-25, 5, 35, 45}), (Rect{-2, 1, 4, 5}));
    // 91 * 720 / 254 = 257.95
    EXPECT_EQ(std::tuple(s72.mmToDevice(91), s600.mmToDevice(91), s600.mmToDevice(-1)), std::tuple(258, 2150, -23));
    EXPECT_EQ(std::pair(s600.tenthMmToDevice(5), s72.tenthMmToDevice(5)), std::pair(12, 1));
}

TEST(Geometry, CentreFitAndBlend)
{
    EXPECT_EQ(centreIn(Rect{0, 0, 11, 5}, Rect{0, 0, 100, 50}), (Rect{44, 22, 55, 27}));
    EXPECT_EQ(centreIn(Rect{0, 0, 11, 5}, Rect{0, 0, -3, -3}), (Rect{-7, -4, 4, 1})); // truncation toward zero
    EXPECT_EQ(centreIn(Rect{0, 0, INT_MAX, 10}, Rect{INT_MIN, 0, INT_MAX, 10}).left, -(1 << 30)); // no overflow

    // 4.28 rounds to 4; no division by zero.
    const std::tuple<QSize, QSize, QSize> fits[] = {
        {{200, 100}, {100, 100}, {100, 50}}, {{100, 200}, {100, 100}, {50, 100}}, {{3, 7}, {10, 10}, {4, 10}}, {{0, 0}, {10, 10}, {0, 10}}};
    for (const auto& [size, box, fitted] : fits)
        EXPECT_EQ(fitInBox(size, box), fitted) << size.width();
    // 255 - 255*128/255 = 127.
    EXPECT_EQ(std::tuple(blendColor(0x0000FF, 0xFFFFFF, 255), blendColor(0x0000FF, 0xFFFFFF, -3),
                         blendColor(0x0000FF, 0xFFFFFF, 128), blendColor(0xFFFFFF, 0x000000, 1)),
              std::tuple(0x0000FFu, 0xFFFFFFu, 0x7F7FFFu, 0x010101u));
}
