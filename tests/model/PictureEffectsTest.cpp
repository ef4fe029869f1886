#include "model/PictureEffects.h"

#include <gtest/gtest.h>

using pictureeffects::GradientMask;

namespace {

int grey(const QImage& mask, int x, int y)
{
    return qRed(mask.pixel(x, y));
}

TEST(PictureEffectsTest, RectangleMaskHasNineRingsFrom227ToBlackAndKeepsItsLastColumnAndRowWhite)
{
    const QImage mask = GradientMask(40, 30, 9, 0).image(QRect(0, 0, 40, 30));
    const int rings[] = {227, 199, 170, 142, 113, 85, 56, 28, 0};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(grey(mask, k, 15), rings[k]) << k;
        EXPECT_EQ(grey(mask, 38 - k, 15), rings[k]) << k;
        EXPECT_EQ(grey(mask, 20, k), rings[k]) << k;
    }
    EXPECT_EQ(grey(mask, 20, 15), 0);
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(grey(mask, 39, y), 255);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(grey(mask, x, 29), 255);
    // No rings: white; one ring: the whole shape black.
    EXPECT_EQ(grey(GradientMask(40, 30, 0, 0).image(QRect(0, 0, 40, 30)), 20, 15), 255);
    const QImage one = GradientMask(40, 30, 1, 0).image(QRect(0, 0, 40, 30));
    EXPECT_EQ(grey(one, 0, 0), 0);
    EXPECT_EQ(grey(one, 39, 0), 255);
}

TEST(PictureEffectsTest, RingsStopWhereTheShrunkBoxIsEmpty)
{
    // 10 × 10 with 9 rings: depth 4 is the deepest, the centre does not darken further.
    const QImage mask = GradientMask(10, 10, 9, 0).image(QRect(0, 0, 10, 10));
    EXPECT_EQ(grey(mask, 4, 4), 113);
    EXPECT_EQ(grey(mask, 2, 2), 170);
    // The ellipse keeps its corners white.
    const QImage ellipse = GradientMask(40, 30, 9, 1).image(QRect(0, 0, 40, 30));
    EXPECT_EQ(grey(ellipse, 0, 0), 255);
    EXPECT_EQ(grey(ellipse, 0, 14), 227);
    EXPECT_EQ(grey(ellipse, 19, 14), 0);
}

} // namespace
