// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetProbe.h"

#include "platform/Fonts.h"
#include "print/CalibrationSheet.h"
#include "print/CardFormatCatalog.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sheetprobe;

namespace {

constexpr int kPpi = 600;

int px(double mm, int ppi = kPpi) { return int(std::lround(mm * ppi / 25.4)); }

struct Corner {
    const char* name;
    double xMm, yMm; // on the paper
    int outX, outY;  // which way lies outside the cards: -1 left/up, +1 right/down
};

// Card corners of the ten-up format that lie on its outer border.
const Corner kCorners[] = {
    {"the first card's top left", 14, 11, -1, -1},
    {"the second card's top right", 14 + 2 * 91, 11, +1, -1},
    {"the ninth card's bottom left", 14, 11 + 5 * 55, -1, +1},
    {"the last card's bottom right", 14 + 2 * 91, 11 + 5 * 55, +1, +1},
};

// Ticks met 1.5 mm outside the corner, across the ruler: -5, 0 and +5 mm only.
void expectRuler(const QImage& sheet, int corner, int probe, bool row, int ppi = kPpi)
{
    SCOPED_TRACE(row ? "the ruler along a row" : "the ruler along a column");
    std::vector<int> ticks;
    for (int start : starts(sheet, probe, row, isDark))
        if (std::abs(start - corner) <= px(6.5, ppi))
            ticks.push_back(start);
    ASSERT_EQ(ticks.size(), 3u);
    // Whole-millimetre lengths round one by one, so a corner may lie a pixel off.
    EXPECT_NEAR(ticks[1], corner, 1);
    EXPECT_NEAR(ticks[1] - ticks[0], px(5, ppi), 1);
    EXPECT_NEAR(ticks[2] - ticks[1], px(5, ppi), 1);
    // One device pixel wide.
    for (int t : ticks)
        EXPECT_FALSE(isDark(row ? sheet.pixel(t + 1, probe) : sheet.pixel(probe, t + 1)));
}

} // namespace

TEST(CalibrationSheet, RulersCrossTheCardCornersMeasuredFromThePaperEdge)
{
    platform::installFontSubstitutions();
    // On the whole paper, and on a printable area that starts 4 and 3 mm into it.
    for (const QPoint offset : {QPoint(), QPoint(px(4), px(3))}) {
        // The sheet of "名刺10面 A4" at 600 ppi on an A4 image whose corner lies at offset.
        print::ImageSheetTarget target(QSize(px(210), px(297)), kPpi, offset);
        ASSERT_TRUE(print::CalibrationSheet(CardFormatCatalog().format(0)).print(target));
        const QImage& sheet = target.sheets().at(0);
        for (const Corner& c : kCorners) {
            SCOPED_TRACE(testing::Message() << c.name << " from " << offset.x() << ", " << offset.y());
            const int x = px(c.xMm) - offset.x(), y = px(c.yMm) - offset.y();
            const int off = px(1.5);
            expectRuler(sheet, x, y + c.outY * off, true);  // the ticks along the edge's line
            expectRuler(sheet, y, x + c.outX * off, false);
            // The outline's corner pixel: ink on the corner, up to a pixel off.
            EXPECT_GT(count(sheet, QRect(x - 1, y - 1, 3, 3), isDark), 0);
            // The outline runs inward along both edges.
            EXPECT_GT(count(sheet, QRect(x - c.outX * px(20), y - 1, 1, 3), isDark), 0);
            EXPECT_GT(count(sheet, QRect(x - 1, y - c.outY * px(20), 3, 1), isDark), 0);
        }
    }
}

TEST(CalibrationSheet, BackRulersLieBehindTheFrontCornersOnceTheSheetIsTurned)
{
    platform::installFontSubstitutions();
    // 2 × 3 cards of 80 × 50 mm, 5 and 10 mm apart, nearer the top left than the
    // bottom right, so every mirror moves them. 10 pixels a millimetre.
    constexpr int ppi = 254;
    const auto format = [](int paperW, int paperH, int top) {
        return CardFormat{"asym", paperW, paperH, 80, 50, 2, 3, 10, top, 5, 10};
    };
    const struct {
        const char* what;
        CardFormat format;
        print::Flip flip;
        bool leftRight; // the back mirrors left and right, else top and bottom
        QPoint offset;  // of the printable area
    } cases[] = {
        {"portrait, long edge", format(210, 297, 20), print::Flip::LongEdge, true, {}},
        {"portrait, short edge", format(210, 297, 20), print::Flip::ShortEdge, false, {}},
        {"portrait, by hand, printable area 4, 3 mm in", format(210, 297, 20), print::Flip::Manual, true, {40, 30}},
        {"landscape, long edge", format(297, 210, 14), print::Flip::LongEdge, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CardFormat& f = c.format;
        print::ImageSheetTarget target(QSize(px(f.paperWidth, ppi), px(f.paperHeight, ppi)), ppi, c.offset);
        ASSERT_TRUE(print::CalibrationSheet(f).printBothSides(target, c.flip));
        ASSERT_EQ(target.sheets().size(), 2u);
        const QImage& back = target.sheets()[1];
        // The outer corners of the front, each with the way out of the cards.
        const int right = f.leftMargin + 2 * f.cardWidth + f.gapX;
        const int bottom = f.topMargin + 3 * f.cardHeight + 2 * f.gapY;
        for (const Corner& front : {Corner{"top left", 10, double(f.topMargin), -1, -1},
                                    Corner{"top right", double(right), double(f.topMargin), +1, -1},
                                    Corner{"bottom left", 10, double(bottom), -1, +1},
                                    Corner{"bottom right", double(right), double(bottom), +1, +1}}) {
            SCOPED_TRACE(front.name);
            Corner behind = front;
            if (c.leftRight) {
                behind.xMm = f.paperWidth - front.xMm;
                behind.outX = -front.outX;
            } else {
                behind.yMm = f.paperHeight - front.yMm;
                behind.outY = -front.outY;
            }
            const int x = px(behind.xMm, ppi) - c.offset.x(), y = px(behind.yMm, ppi) - c.offset.y();
            expectRuler(back, x, y + behind.outY * px(1.5, ppi), true, ppi);
            expectRuler(back, y, x + behind.outX * px(1.5, ppi), false, ppi);
        }
    }
}
