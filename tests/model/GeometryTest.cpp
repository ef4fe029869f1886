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
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {3, 1, 2, 2},    {-3, 1, 2, -1},   {-13, 1, 5, -2}, // 1.5, -1.5, -2.6
        {5, -1, 2, -2},  {5, 1, -2, -2},   {-5, -1, 2, 3},
        {-120, 72, 720, -11}, // a negative whole result loses one: -12 points at 72 dpi draw at -11
        {INT_MIN, INT_MAX, INT_MAX, INT_MIN + 1}, // -2^31 + 0.5 truncated
        {INT_MAX, 800, 72, INT_MAX},  {INT_MIN, 800, 72, INT_MIN}, // saturates
        {1000000000, 1000000000, 1000000000, 1000000000}, {5, 7, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mulDivRound(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(platform::mulDivNearest(-3, 1, 2), -2); // the platform's MulDiv rounds away from zero
    EXPECT_EQ(platform::mulDivNearest(1, 1, 0), -1);
}

TEST(ViewScaleConversions, SkipWhileTheScaleIs720AndRoundOtherwise)
{
    const ViewScale s720 = ViewScale::at(720), s72 = ViewScale::at(72), s600 = ViewScale::at(600);
    EXPECT_EQ(s720.toDevice(-7), -7);
    EXPECT_EQ(s720.toUnits(13), 13);
    EXPECT_EQ(s72.toUnits(1), 10);
    EXPECT_EQ(s72.toDevice(Rect{-25, 5, 35, 45}), (Rect{-2, 1, 4, 5}));
    EXPECT_EQ(s72.mmToDevice(91), 258); // 91 * 720 / 254 = 257.95
    EXPECT_EQ(s600.mmToDevice(91), 2150);
    EXPECT_EQ(s600.mmToDevice(-1), -23);
    EXPECT_EQ(s600.tenthMmToDevice(5), 12);
    EXPECT_EQ(s72.tenthMmToDevice(5), 1);
}

TEST(Geometry, CentreFitAndBlend)
{
    EXPECT_EQ(centreIn(Rect{0, 0, 11, 5}, Rect{0, 0, 100, 50}), (Rect{44, 22, 55, 27}));
    EXPECT_EQ(centreIn(Rect{0, 0, 11, 5}, Rect{0, 0, -3, -3}), (Rect{-7, -4, 4, 1})); // truncation toward zero
    EXPECT_EQ(centreIn(Rect{0, 0, INT_MAX, 10}, Rect{INT_MIN, 0, INT_MAX, 10}).left, -(1 << 30)); // no overflow

    EXPECT_EQ(fitInBox(QSize(200, 100), QSize(100, 100)), QSize(100, 50));
    EXPECT_EQ(fitInBox(QSize(100, 200), QSize(100, 100)), QSize(50, 100));
    EXPECT_EQ(fitInBox(QSize(3, 7), QSize(10, 10)), QSize(4, 10)); // 4.28 rounds to 4
    EXPECT_EQ(fitInBox(QSize(0, 0), QSize(10, 10)), QSize(0, 10));  // no division by zero

    EXPECT_EQ(blendColor(0x0000FF, 0xFFFFFF, 255), 0x0000FFu);
    EXPECT_EQ(blendColor(0x0000FF, 0xFFFFFF, -3), 0xFFFFFFu);
    EXPECT_EQ(blendColor(0x0000FF, 0xFFFFFF, 128), 0x7F7FFFu); // 255 - 255*128/255 = 127
    EXPECT_EQ(blendColor(0xFFFFFF, 0x000000, 1), 0x010101u);
}
