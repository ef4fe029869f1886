// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"
#include "Pixels.h"

#include "model/Geometry.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PictureEffects.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <tuple>

using pictureeffects::GradientMask;
using pixels::inkBox;

namespace {

constexpr QRgb kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kBlue = 0xFF2040C0, kRed = 0xFFE01010;

// blendColor on QRgb values.
QRgb blend(QRgb fore, QRgb back, int alpha)
{
    const auto ref = [](QRgb c) { return std::uint32_t(qRed(c)) | qGreen(c) << 8 | std::uint32_t(qBlue(c)) << 16; };
    const std::uint32_t v = blendColor(ref(fore), ref(back), alpha);
    return qRgb(int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF));
}

QRgb grey(int v) { return qRgb(v, v, v); }

platform::Dib solid(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return platform::Dib::fromImage(image);
}

// A picture item at (x, y) in item units, cx × cy.
std::unique_ptr<ObjItemBitmap> picture(platform::Dib dib, int x, int y, int cx, int cy, int edge = 2, int shape = 0)
{
    auto item = std::make_unique<ObjItemBitmap>(platform::Rect{0, 0, 100000, 100000}, std::move(dib));
    place(*item, x, y, cx, cy);
    item->edgeMode = edge;
    item->shape = shape;
    return item;
}

// The item drawn over a card of `size` pixels, blue unless said; `origin` moves
// the card as the card view does when only part of it is visible.
QImage draw(const ObjItem& item, QSize size, int ppi = 72, bool printing = false, QPoint origin = {}, QRgb back = kBlue)
{
    platform::Dc dc(size);
    dc.image()->fill(back);
    dc.setScale(ppi);
    dc.setPrinting(printing);
    dc.setViewportOrigin(origin);
    item.Draw(dc);
    return *dc.image();
}
QImage onWhite(const ObjItem& item, QSize size, int ppi = 72) { return draw(item, size, ppi, false, {}, kWhite); }

TEST(Draw, RectanglesLinesAndTextsLieWhereTheirUnitsSay)
{
    ObjItemRect rect; // one column left and one row above its pixels
    place(rect, 100, 200, 300, 300);
    const QImage r = onWhite(rect, QSize(100, 100));
    EXPECT_EQ(std::pair(inkBox(r), r.pixel(9, 19)), std::pair(QRect(9, 19, 31, 31), kBlack));

    ObjItemLine line;
    place(line, 0, 360, 720, 0); // half an inch down, an inch long
    const auto lineInk = [&](int dpi, int width) {
        line.width = width;
        return inkBox(onWhite(line, QSize(700, 700), dpi));
    };
    // Half a millimetre: one pixel at 72 dpi, twelve at 600; width 0 is one pixel
    // at any resolution, and the last pixel is left.
    EXPECT_EQ(lineInk(72, 5), QRect(0, 36, 72, 1));
    EXPECT_EQ(std::pair(lineInk(600, 5).height(), lineInk(600, 0).size()), std::pair(12, QSize(600, 1)));

    ObjItemText text;
    text.SetText("WW\r\nW");
    text.color = 0x0000FF; // red
    text.y = 100;
    text.x = 1000;
    QRect ink[3];
    for (const int align : {ObjItemText::AlignLeft, ObjItemText::AlignCenter, ObjItemText::AlignRight}) {
        text.align = align;
        ink[align] = inkBox(onWhite(text, QSize(200, 100)));
    }
    ASSERT_FALSE(ink[0].isEmpty());
    EXPECT_NEAR(ink[ObjItemText::AlignLeft].left(), 101, 1);
    EXPECT_NEAR(ink[ObjItemText::AlignRight].right(), 98.5, 1.5);
    EXPECT_NEAR((ink[ObjItemText::AlignCenter].left() + ink[ObjItemText::AlignCenter].right()) / 2.0, 100, 2);
    const QImage red = onWhite(text, QSize(200, 100));
    EXPECT_GT(pixels::count(red, red.rect(), pixels::isRed), 5); // the item's colour: red, not blue

    // Texts CP932 cannot hold are drawn with a font that has them, measured as drawn.
    ObjItemText wide;
    wide.SetFontSize(72);
    wide.SetText(QStringLiteral("𠮷"));
    const QImage kanji = onWhite(wide, QSize(200, 100));
    ASSERT_GT(inkBox(kanji).width(), 30);
    EXPECT_LE(inkBox(kanji).right(), wide.cx / 10);
    // A character no font has is drawn as the missing-glyph box, or not at all.
    wide.SetText(QStringLiteral("\U0010FFFD"));
    EXPECT_TRUE(kanji != onWhite(wide, QSize(200, 100))) << "no installed font has 𠮷";
}

// Rings darken from 227 to black by one ninth each, stop where the shrunk box is
// empty, keep the last column and row white and, on an ellipse, the corners. A
// blurred edge fades by them into what lies beneath and leaves the inside as drawn.
TEST(PictureEffectsTest, MaskRingsDarkenInwardsAndBlurredEdgesBlendByThem)
{
    const struct { int w, h, rings, shape; std::vector<std::array<int, 3>> probes; /* x, y, grey */ } cases[] = {
        {40, 30, 9, 0, {{0, 15, 227}, {1, 15, 199}, {4, 15, 113}, {7, 15, 28}, {8, 15, 0}, {38, 15, 227},
                        {20, 0, 227}, {20, 8, 0}, {39, 0, 255}, {39, 15, 255}, {0, 29, 255}, {20, 29, 255}}},
        {40, 30, 0, 0, {{20, 15, 255}}}, // no rings: white
        {40, 30, 1, 0, {{0, 0, 0}, {39, 0, 255}}}, // one ring: the whole shape black
        {10, 10, 9, 0, {{4, 4, 113}, {2, 2, 170}}}, // depth 4 is the deepest
        {40, 30, 9, 1, {{0, 0, 255}, {0, 14, 227}, {19, 14, 0}}},
    };
    for (const auto& c : cases) {
        const QImage mask = GradientMask(c.w, c.h, c.rings, c.shape).image(QRect(0, 0, c.w, c.h));
        for (const auto& [x, y, want] : c.probes)
            EXPECT_EQ(qRed(mask.pixel(x, y)), want) << c.w << "x" << c.h << " rings " << c.rings << " shape "
                                                    << c.shape << " at " << x << "," << y;
    }

    const QImage plain = draw(*picture(testPicture(40, 30), 100, 100, 400, 300), QSize(60, 50));
    const QImage image = draw(*picture(testPicture(40, 30), 100, 100, 400, 300, 0), QSize(60, 50));
    const QImage mask = GradientMask(40, 30, 9, 0).image(QRect(0, 0, 40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int m = qRed(mask.pixel(x, y));
            const QRgb p = plain.pixel(10 + x, 10 + y);
            ASSERT_EQ(image.pixel(10 + x, 10 + y), m == 0 ? p : blend(kBlue, p, m)) << x << "," << y;
        }
    EXPECT_EQ(image.pixel(9, 25), kBlue); // nothing beside the picture
}

// Pixels of pictures drawn over blue, probed.
TEST(PictureDrawTest, HeartsWhiteOutShadowsAndUnknownShapesShowWhatTheyShould)
{
    QImage threeWhites(3, 1, QImage::Format_RGB32);
    threeWhites.setPixel(0, 0, qRgb(255, 255, 255));
    threeWhites.setPixel(1, 0, qRgb(254, 255, 255));
    threeWhites.setPixel(2, 0, qRgb(255, 255, 254));
    auto whiteOut = picture(platform::Dib::fromImage(threeWhites), 0, 0, 300, 100, 0, 2);
    whiteOut->whiteOut = 1; // shape and edge are not used with white-out
    const QRgb nearWhite = qRgb(254, 255, 255), nearWhite2 = qRgb(255, 255, 254);
    // The shadow lies nine pixels right and down with a seven-pixel rim.
    const QImage shadow = draw(*picture(solid(40, 30, kRed), 100, 100, 400, 300, 1), QSize(70, 60));
    std::vector<std::tuple<int, int, QRgb>> rim = {{10, 10, kRed}, {49, 39, kRed}, {18, 41, kBlue},
                                                   {58, 45, kBlue}, {30, 48, kBlue}};
    for (const auto& [k, ring] : {std::pair{0, 219}, {3, 109}, {6, 0}}) { // the outer, a middle and the inner ring
        rim.emplace_back(19 + k, 40, blend(kBlue, grey(ring), ring));
        rim.emplace_back(30, 47 - k, blend(kBlue, grey(ring), ring));
    }
    const struct { const char* what; QImage image; std::vector<std::tuple<int, int, QRgb>> probes; } cases[] = {
        // 188 × 180 pixels at (10, 10): the notch at (94, 40), the tip at (94, 180); the lobes rise above the notch.
        {"heart", draw(*picture(solid(200, 200, kRed), 100, 100, 1880, 1800, 2, 2), QSize(220, 220)),
         {{104, 46, kBlue}, {104, 54, kRed}, {66, 37, kRed}, {66, 30, kBlue}, {142, 37, kRed}, {12, 12, kBlue},
          {104, 186, kRed}, {98, 188, kBlue}, {110, 188, kBlue}, {104, 191, kBlue}}},
        {"white-out lets only pure white through", draw(*whiteOut, QSize(30, 10)),
         {{5, 5, kBlue}, {0, 0, kBlue}, {15, 0, nearWhite}, {29, 9, nearWhite2}}},
        {"an unknown edge draws plain, whatever the shape",
         draw(*picture(solid(20, 20, kRed), 0, 0, 200, 200, 7, 3), QSize(30, 30)), {{0, 0, kRed}, {19, 19, kRed}}},
        {"shadow", shadow, rim},
    };
    for (const auto& c : cases)
        for (const auto& [x, y, color] : c.probes)
            EXPECT_EQ(c.image.pixel(x, y), color) << c.what << " at " << x << "," << y;
    // An unknown shape draws nothing, with any edge.
    const QImage beneath = solid(30, 30, kBlue).toImage();
    for (const int edge : {0, 1, 2})
        for (const int shape : {3, -1})
            EXPECT_EQ(draw(*picture(solid(20, 20, kRed), 0, 0, 200, 200, edge, shape), QSize(30, 30)), beneath)
                << edge << " " << shape;
}

// What is drawn is the DIB itself, whatever the stored sizes or an old cache.
TEST(PictureDrawTest, TheCacheServesWithinTwoPixelsAndIsNeverMadeForEnlargedPictures)
{
    // Printing makes no cache and draws from the DIB; 91 × 73 at 73 ppi copies the 90 × 72 cache 1:1, leaving
    // column 90 blue; 93 × 74 is three pixels wider, 180 × 144 larger than the picture.
    auto item = picture(testPicture(100, 80), 0, 0, 900, 720);
    const std::tuple<int, bool, QSize, bool> steps[] = {{72, true, {-1, -1}, true}, {72, false, {90, 72}, true},
        {73, false, {90, 72}, true}, {73, true, {90, 72}, false}, {74, false, {93, 74}, false}, {144, false, {93, 74}, false}};
    for (const auto& [ppi, printing, cache, blue] : steps) {
        const bool drawnBlue = draw(*item, QSize(200, 200), ppi, printing).pixel(90, 10) == kBlue;
        EXPECT_EQ(std::pair(item->cacheSize(), drawnBlue), std::pair(cache, blue)) << ppi << " " << printing;
    }
    auto enlarged = picture(testPicture(100, 80), 0, 0, 1010, 720);
    draw(*enlarged, QSize(110, 90));
    EXPECT_EQ(enlarged->cacheSize(), QSize(-1, -1));

    auto small = picture(testPicture(10, 10), 0, 0, 100, 100);
    const QImage right = draw(*small, QSize(10, 10));
    small->dibWidth = 3;
    small->dibHeight = 70000;
    EXPECT_EQ(std::pair(draw(*small, QSize(10, 10)), draw(*small, QSize(10, 10), 72, true)), std::pair(right, right));
    small->dib = solid(10, 10, qRgb(0, 200, 0));
    EXPECT_EQ(draw(*small, QSize(10, 10)).pixel(5, 5), qRgb(0, 200, 0));

    // A 40-pixel cache used for a 42-pixel rectangle: the two columns beyond it
    // blend white, not stray memory.
    auto blurred = picture(solid(50, 40, kRed), 0, 0, 400, 300, 0);
    draw(*blurred, QSize(60, 40), 72);
    const QImage image = draw(*blurred, QSize(60, 40), 75);
    ASSERT_EQ(blurred->cacheSize(), QSize(40, 30));
    EXPECT_EQ(image.pixel(40, 15), blend(kBlue, kWhite, 227));
}

// Every way of drawing, on screen with the cache and printed from the DIB, as a
// whole card and as parts of it seen through a moved viewport origin or a shaped clip.
TEST(PictureDrawTest, ScreenAndPrintAgreeAndPartsEqualTheWhole)
{
    const std::array<int, 3> modes[] = {{2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {0, 0, 0}, {0, 1, 0},
                                        {0, 2, 0}, {1, 0, 0}, {1, 2, 0}, {0, 0, 1}}; // edge, shape, white-out
    QImage source = testPicture(160, 120).toImage();
    source.setPixel(3, 3, qRgb(255, 255, 255));
    for (const auto& [edge, shape, whiteOut] : modes) {
        for (const int ppi : {72, 130}) {
            auto item = picture(platform::Dib::fromImage(source), 150, 100, 1500, 1100, edge, shape);
            item->whiteOut = whiteOut;
            const QSize card(ppi * 3, ppi * 2);
            const QImage printed = draw(*item, card, ppi, true);
            draw(*item, card, ppi);
            EXPECT_EQ(draw(*item, card, ppi), printed) << edge << shape << whiteOut << " " << ppi;
            for (const QRect part : {QRect(40, 30, 50, 70), QRect(150, 100, 60, 40), QRect(0, 130, 37, 13)})
                EXPECT_EQ(draw(*item, part.size(), ppi, false, -part.topLeft()), printed.copy(part))
                    << edge << shape << whiteOut << " " << part.x();
        }
    }

    const auto item = picture(testPicture(40, 30), 0, 0, 400, 300, 0);
    const QImage whole = draw(*item, QSize(40, 30));
    platform::Dc dc(QSize(40, 30));
    dc.image()->fill(kBlue);
    dc.selectClipEllipse(QRect(0, 0, 40, 30));
    item->Draw(dc);
    EXPECT_EQ(std::tuple(dc.image()->pixel(20, 15), dc.image()->pixel(12, 12), dc.image()->pixel(1, 1)),
              std::tuple(whole.pixel(20, 15), whole.pixel(12, 12), kBlue));
    EXPECT_NE(whole.pixel(1, 1), kBlue);
}

// Items of extreme stored values, drawn as the sheet draws a card (clipped to it,
// through a moved origin): drawing ends, each item leaves the Dc's state as it
// found it, nothing lands outside the card, and a picture shows the same on
// screen as printed. Far off the card, nothing is drawn on it.
TEST(Draw, ExtremeStoredValuesOfEveryKindDrawSafely)
{
    std::vector<std::shared_ptr<ObjItem>> items;
    auto rect = std::make_shared<ObjItemRect>(), inside = std::make_shared<ObjItemRect>();
    place(*rect, INT_MIN, INT_MIN, INT_MAX, -5);
    place(*inside, -1000, -1000, 10000, 10000); // covers the card and more
    auto line = std::make_shared<ObjItemLine>();
    place(*line, INT_MAX, 0, INT_MAX, INT_MIN);
    line->width = INT_MAX;
    auto text = std::make_shared<ObjItemText>();
    text->align = 9;
    text->x = INT_MAX;
    text->font.height = 100000;
    std::memset(text->font.faceName, 'A', sizeof text->font.faceName); // no terminator
    text->RecalcSize();
    auto huge = std::make_shared<ObjItemText>(*text);
    huge->font.height = -100000;
    huge->x = 0;
    const QImage white = solid(50, 50, kWhite).toImage();
    for (const auto& item : std::initializer_list<std::shared_ptr<ObjItem>>{rect, line, text}) {
        EXPECT_EQ(onWhite(*item, QSize(50, 50)), white) << item->className();
        items.push_back(item);
    }
    items.insert(items.end(), {huge, inside});
    for (const int edge : {0, 1, 2})
        for (const int shape : {0, 1, 2})
            for (const int whiteOut : {0, 1}) {
                auto item = picture(testPicture(30, 20), INT_MIN, -5, INT_MAX, INT_MAX, edge, shape);
                item->dibWidth = INT_MAX; // stored sizes are not trusted
                item->whiteOut = whiteOut;
                EXPECT_EQ(draw(*item, QSize(50, 50), 600), draw(*item, QSize(50, 50), 600, true)) << edge << shape;
                items.push_back(std::move(item));
            }

    const QRect card(10, 10, 30, 30);
    for (const bool printing : {false, true}) {
        platform::Dc dc(QSize(50, 50));
        dc.setScale(576); // 800 % of 72
        dc.setPrinting(printing);
        dc.selectClip(card);
        dc.setViewportOrigin(card.topLeft());
        const auto state = [&dc] {
            return std::tuple(dc.pen().isNull(), dc.pen().color, dc.pen().width, dc.brush().isNull(), dc.brush().color,
                              dc.textColor(), dc.bkColor(), dc.bkMode(), dc.rop2(), dc.viewportOrigin(),
                              dc.clipBox(), dc.font(), dc.scale(), dc.printing());
        };
        const auto before = state();
        for (const auto& item : items) {
            item->Draw(dc);
            EXPECT_TRUE(state() == before) << item->className() << " " << printing;
        }
        EXPECT_EQ(dc.save(), 1) << "no state is left saved";
        EXPECT_EQ(pixels::count(*dc.image(), dc.image()->rect(),
                                [&](int x, int y, QRgb c) { return !card.contains(x, y) && c != kWhite; }),
                  0);
    }
}

} // namespace
