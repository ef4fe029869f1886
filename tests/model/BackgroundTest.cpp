// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"

#include "model/PmrData.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

namespace {

TEST(Background, TilesRoundToWholePixelsBeforeTheirPointsAndChooseTheirPath)
{
    const struct {
        int w, h, scale, percent;
        bool printing;
        PmrData::TilePlan expected;
    } cases[] = {
        {100, 50, 72, 100, false, {100, 50, true}},   // one-to-one
        {100, 50, 72, 40, false, {40, 20, false}},    // stretched once, copied
        {300, 50, 72, 60, false, {180, 30, false}},   // narrower than the card: cached
        {500, 50, 72, 60, false, {300, 30, true}},    // wider than the card: direct
        {100, 50, 600, 40, true, {332, 168, true}},   // printing is always direct
        {32, 32, 72, 100, false, {30, 30, true}},     // 3.2 -> 3 before × 10
        {3, 3, 36, 100, false, {0, 0, true}},         // 0.15 -> 0: no tile
        {100, 50, 72, 0, false, {0, 0, true}},        // a stored scale of 0
        {100, 50, 72, -20, false, {-19, -9, true}},   // rounds toward +infinity
    };
    for (const auto& c : cases) {
        const PmrData::TilePlan p = PmrData::tilePlan(c.w, c.h, c.scale, c.percent, c.printing, QSize(258, 156));
        const bool tile = p.width > 0 && p.height > 0; // without one the path does not matter
        EXPECT_EQ(std::tuple(p.width, p.height, tile && p.direct), std::tuple(c.expected.width, c.expected.height, tile && c.expected.direct))
            << c.w << " " << c.percent;
    }
}

// The background drawn over a 100 × 60 card on a 120 × 80 surface at (10, 10), on
// screen or printed.
QImage drawn(const PmrData& page, int scale = 72, QRect clip = {}, bool printing = false)
{
    platform::Dc dc(QSize(120, 80));
    dc.setScale(scale);
    dc.setPrinting(printing);
    if (!clip.isNull())
        dc.selectClip(clip);
    page.drawBackground(dc, platform::Rect{10, 10, 110, 70});
    return *dc.image();
}

TEST(Background, TilesRepeatFromTheCardsCornerAndOnlyWhereTheClipAllows)
{
    PmrData page;
    page.setPattern(testPicture(40, 30)); // 40 × 30 pixels at 72 ppi and 100 %
    const QImage whole = drawn(page);
    for (const QPoint p : {QPoint(10, 10), QPoint(23, 17), QPoint(49, 39)})
        EXPECT_EQ(std::pair(whole.pixel(p + QPoint(40, 0)), whole.pixel(p + QPoint(0, 30))),
                  std::pair(whole.pixel(p), whole.pixel(p))) << p.x() << "," << p.y();
    EXPECT_NE(whole.pixel(10, 10), whole.pixel(11, 10)); // the picture's own pixels, one-to-one
    // Tiles are not cut at the card's edge: the surface limits them.
    EXPECT_EQ(whole.pixel(115, 65), whole.pixel(35, 35));
    EXPECT_EQ(whole.pixel(115, 75), 0xFFFFFFFFu); // no row of tiles starts at the bottom edge

    // A partial repaint paints the same pixels inside its clip and nothing outside.
    const QRect clip(57, 33, 21, 19);
    const QImage part = drawn(page, 72, clip);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(part.pixel(x, y), clip.contains(x, y) ? whole.pixel(x, y) : 0xFFFFFFFFu) << x << "," << y;

    // The cached path at 50 % gives the direct path's pixels.
    page.setPatternScale(50);
    ASSERT_FALSE(PmrData::tilePlan(40, 30, 72, 50, false, QSize(100, 60)).direct);
    EXPECT_EQ(drawn(page), drawn(page, 72, {}, true));
}

TEST(Background, ATileOfNoPixelsShowsTheColourInstead)
{
    PmrData page;
    page.backColor = 0x0000FF; // red, kept under the pattern
    page.pattern = testPicture(9, 9);
    page.patternScale = 0; // as a document may store it
    const QImage zero = drawn(page); // the colour has an extra row and column
    EXPECT_EQ(std::tuple(zero.pixel(10, 10), zero.pixel(9, 9), zero.pixel(110, 70)), std::tuple(0xFFFF0000u, 0xFFFF0000u, 0xFFFFFFFFu));
}

} // namespace
