// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"
#include "Pixels.h"

#include "model/Geometry.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PictureEffects.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <memory>

using pictureeffects::GradientMask;
using pixels::inkBox;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kBlue = 0xFF2040C0;
constexpr QRgb kRed = 0xFFE01010;

// blendColor on QRgb values.
QRgb blend(QRgb fore, QRgb back, int alpha)
{
    const auto ref = [](QRgb c) { return std::uint32_t(qRed(c)) | qGreen(c) << 8 | std::uint32_t(qBlue(c)) << 16; };
    const std::uint32_t v = blendColor(ref(fore), ref(back), alpha);
    return qRgb(int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF));
}

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

// The item drawn over a blue card of `size` pixels; `origin` moves the card as
// the card view does when only part of it is visible.
QImage draw(const std::unique_ptr<ObjItemBitmap>& item, QSize size, int ppi = 72, bool printing = false, QPoint origin = {})
{
    platform::Dc dc(size);
    dc.image()->fill(kBlue);
    dc.setScale(ppi);
    dc.setPrinting(printing);
    dc.setViewportOrigin(origin);
    item->Draw(dc);
    return *dc.image();
}

int grey(const QImage& mask, int x, int y)
{
    return qRed(mask.pixel(x, y));
}

TEST(Draw, RectangleCoversItsPixelsPlusOneColumnLeftAndOneRowAbove)
{
    platform::Dc dc(QSize(100, 100)); // 72 pixels per inch
    ObjItemRect rect;
    place(rect, 100, 200, 300, 300);
    rect.Draw(dc);
    EXPECT_EQ(inkBox(*dc.image()), QRect(9, 19, 31, 31));
    EXPECT_EQ(dc.image()->pixel(9, 19), kBlack);
}

TEST(Draw, LineWidthsFollowTheResolution)
{
    ObjItemLine line;
    place(line, 0, 360, 720, 0); // half an inch down, an inch long
    const auto ink = [&](int dpi, int width) {
        line.width = width;
        platform::Dc dc(QSize(700, 700));
        dc.setScale(dpi);
        line.Draw(dc);
        return inkBox(*dc.image());
    };
    // Half a millimetre: one pixel at 72 dpi, twelve at 600.
    EXPECT_EQ(ink(72, 5).height(), 1);
    EXPECT_EQ(ink(72, 5).left(), 0);
    EXPECT_EQ(ink(600, 5).height(), 12);
    // Width 0 is one pixel at any resolution; the last pixel is left.
    EXPECT_EQ(ink(600, 0).height(), 1);
    EXPECT_EQ(ink(600, 0).width(), 600);
}

TEST(Draw, TextIsAlignedAtItsAnchor)
{
    ObjItemText text;
    text.SetText("WW\r\nW");
    text.color = 0x0000FF; // red
    text.y = 100;
    text.x = 1000;
    const auto inkFor = [&](int align) {
        text.align = align;
        platform::Dc dc(QSize(200, 100));
        text.Draw(dc);
        return inkBox(*dc.image());
    };
    const QRect left = inkFor(ObjItemText::AlignLeft);
    const QRect centre = inkFor(ObjItemText::AlignCenter);
    const QRect right = inkFor(ObjItemText::AlignRight);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_NEAR(left.left(), 101, 1);
    EXPECT_NEAR(right.right(), 98.5, 1.5);
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 100, 2);
    platform::Dc dc(QSize(200, 100));
    text.Draw(dc);
    EXPECT_GT(pixels::count(*dc.image(), dc.image()->rect(), pixels::isRed), 5); // the item's colour: red, not blue
}

TEST(Draw, TextsCp932CannotHoldAreDrawnWithAFontThatHasThem)
{
    ObjItemText text;
    text.SetFontSize(72);
    const auto draw = [&](const QString& s) {
        text.SetText(s);
        platform::Dc dc(QSize(200, 100));
        text.Draw(dc);
        return *dc.image();
    };
    const QImage kanji = draw(QStringLiteral("𠮷"));
    const QRect ink = inkBox(kanji);
    ASSERT_GT(ink.width(), 30);
    EXPECT_LE(ink.right(), text.cx / 10); // measured as drawn
    // A character no font has is drawn as the missing-glyph box, or not at all.
    EXPECT_TRUE(kanji != draw(QStringLiteral("\U0010FFFD"))) << "no installed font has 𠮷";
}

// Rings darken from 227 to black by one ninth each, stop where the shrunk box is
// empty, keep the last column and row white and, on an ellipse, the corners.
TEST(PictureEffectsTest, MaskRingsDarkenInwardsWithinTheShape)
{
    const struct {
        int w, h, rings, shape;
        std::vector<std::array<int, 3>> probes; // x, y, grey
    } cases[] = {
        {40, 30, 9, 0, {{0, 15, 227}, {1, 15, 199}, {2, 15, 170}, {3, 15, 142}, {4, 15, 113}, {5, 15, 85},
                        {6, 15, 56}, {7, 15, 28}, {8, 15, 0}, {30, 15, 0}, {38, 15, 227}, {20, 0, 227},
                        {20, 8, 0}, {20, 15, 0}, {39, 0, 255}, {39, 15, 255}, {0, 29, 255}, {20, 29, 255}}},
        {40, 30, 0, 0, {{20, 15, 255}}}, // no rings: white
        {40, 30, 1, 0, {{0, 0, 0}, {39, 0, 255}}}, // one ring: the whole shape black
        {10, 10, 9, 0, {{4, 4, 113}, {2, 2, 170}}}, // depth 4 is the deepest
        {40, 30, 9, 1, {{0, 0, 255}, {0, 14, 227}, {19, 14, 0}}},
    };
    for (const auto& c : cases) {
        const QImage mask = GradientMask(c.w, c.h, c.rings, c.shape).image(QRect(0, 0, c.w, c.h));
        for (const auto& [x, y, want] : c.probes)
            EXPECT_EQ(grey(mask, x, y), want) << c.w << "x" << c.h << " rings " << c.rings << " shape " << c.shape
                                              << " at " << x << "," << y;
    }
}

// Pixels of pictures drawn over blue, probed.
TEST(PictureDrawTest, HeartsWhiteOutAndUnknownShapesShowWhatTheyShould)
{
    QImage threeWhites(3, 1, QImage::Format_RGB32);
    threeWhites.setPixel(0, 0, qRgb(255, 255, 255));
    threeWhites.setPixel(1, 0, qRgb(254, 255, 255));
    threeWhites.setPixel(2, 0, qRgb(255, 255, 254));
    auto whiteOut = picture(platform::Dib::fromImage(threeWhites), 0, 0, 300, 100, 0, 2);
    whiteOut->whiteOut = 1; // shape and edge are not used with white-out
    const QRgb nearWhite = qRgb(254, 255, 255), nearWhite2 = qRgb(255, 255, 254);
    const struct {
        const char* what;
        QImage image;
        std::vector<std::tuple<int, int, QRgb>> probes;
    } cases[] = {
        // 188 × 180 pixels at (10, 10): the notch at (94, 40), the tip at (94, 180); the lobes rise above the notch.
        {"heart", draw(picture(solid(200, 200, kRed), 100, 100, 1880, 1800, 2, 2), QSize(220, 220)),
         {{104, 46, kBlue}, {104, 54, kRed}, {66, 37, kRed}, {66, 30, kBlue}, {142, 37, kRed}, {12, 12, kBlue},
          {104, 186, kRed}, {98, 188, kBlue}, {110, 188, kBlue}, {104, 191, kBlue}}},
        {"white-out lets only pure white through", draw(whiteOut, QSize(30, 10)),
         {{5, 5, kBlue}, {0, 0, kBlue}, {15, 0, nearWhite}, {29, 9, nearWhite2}}},
        {"an unknown edge draws plain, whatever the shape",
         draw(picture(solid(20, 20, kRed), 0, 0, 200, 200, 7, 3), QSize(30, 30)),
         {{0, 0, kRed}, {19, 19, kRed}}},
    };
    for (const auto& c : cases)
        for (const auto& [x, y, color] : c.probes)
            EXPECT_EQ(c.image.pixel(x, y), color) << c.what << " at " << x << "," << y;
    // An unknown shape draws nothing, with any edge.
    QImage beneath(QSize(30, 30), QImage::Format_RGB32);
    beneath.fill(kBlue);
    for (const int edge : {0, 1, 2})
        for (const int shape : {3, -1})
            EXPECT_EQ(draw(picture(solid(20, 20, kRed), 0, 0, 200, 200, edge, shape), QSize(30, 30)), beneath)
                << edge << " " << shape;
}

TEST(PictureDrawTest, BlurredEdgeFadesIntoWhatLiesBeneathAndLeavesTheInsideAsDrawn)
{
    const QImage plain = draw(picture(testPicture(40, 30), 100, 100, 400, 300), QSize(60, 50));
    const QImage image = draw(picture(testPicture(40, 30), 100, 100, 400, 300, 0), QSize(60, 50));
    const QImage mask = GradientMask(40, 30, 9, 0).image(QRect(0, 0, 40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int m = grey(mask, x, y);
            const QRgb p = plain.pixel(10 + x, 10 + y);
            ASSERT_EQ(image.pixel(10 + x, 10 + y), m == 0 ? p : blend(kBlue, p, m)) << x << "," << y;
        }
    EXPECT_EQ(image.pixel(49, 20), kBlue); // the untouched last column
    EXPECT_EQ(image.pixel(20, 39), kBlue);
    EXPECT_EQ(image.pixel(9, 25), kBlue);
}

TEST(PictureDrawTest, ShadowLiesNinePixelsRightAndDownWithASevenPixelRim)
{
    const QImage image = draw(picture(solid(40, 30, kRed), 100, 100, 400, 300, 1), QSize(70, 60));
    EXPECT_EQ(image.pixel(10, 10), kRed);
    EXPECT_EQ(image.pixel(49, 39), kRed); // the picture over the shadow
    EXPECT_EQ(image.pixel(18, 41), kBlue);
    const int rings[] = {219, 182, 146, 109, 73, 36, 0};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(image.pixel(19 + k, 40), blend(kBlue, qRgb(rings[k], rings[k], rings[k]), rings[k])) << k;
        EXPECT_EQ(image.pixel(30, 47 - k), blend(kBlue, qRgb(rings[k], rings[k], rings[k]), rings[k])) << k;
    }
    EXPECT_EQ(image.pixel(58, 45), kBlue);
    EXPECT_EQ(image.pixel(30, 48), kBlue);
}

TEST(PictureDrawTest, TheCacheServesWithinTwoPixelsAndIsNeverMadeForEnlargedPictures)
{
    auto item = picture(testPicture(100, 80), 0, 0, 900, 720);
    draw(item, QSize(110, 90), 72, true);
    EXPECT_EQ(item->cacheSize(), QSize(-1, -1)); // printing makes none
    draw(item, QSize(110, 90));
    EXPECT_EQ(item->cacheSize(), QSize(90, 72));
    // 91 × 73 at 73 ppi: the 90 × 72 cache is copied 1:1, its last column and row stay blue.
    const QImage reused = draw(item, QSize(110, 90), 73);
    EXPECT_EQ(item->cacheSize(), QSize(90, 72));
    EXPECT_EQ(reused.pixel(90, 10), kBlue);
    EXPECT_NE(draw(item, QSize(110, 90), 73, true).pixel(90, 10), kBlue); // printing: from the DIB
    draw(item, QSize(110, 90), 74); // 93 × 74: three pixels wider
    EXPECT_EQ(item->cacheSize(), QSize(93, 74));
    draw(item, QSize(200, 200), 144); // 180 × 144, larger than the picture
    EXPECT_EQ(item->cacheSize(), QSize(93, 74));
    auto enlarged = picture(testPicture(100, 80), 0, 0, 1010, 720);
    draw(enlarged, QSize(110, 90));
    EXPECT_EQ(enlarged->cacheSize(), QSize(-1, -1));
}

TEST(PictureDrawTest, WhatIsDrawnIsTheDibItselfWhateverTheStoredSizesOrAnOldCache)
{
    auto item = picture(testPicture(10, 10), 0, 0, 100, 100);
    const QImage right = draw(item, QSize(10, 10));
    item->dibWidth = 3;
    item->dibHeight = 70000;
    EXPECT_EQ(draw(item, QSize(10, 10)), right);
    EXPECT_EQ(draw(item, QSize(10, 10), 72, true), right);
    item->dib = solid(10, 10, qRgb(0, 200, 0));
    EXPECT_EQ(draw(item, QSize(10, 10)).pixel(5, 5), qRgb(0, 200, 0));
}

TEST(PictureDrawTest, PicturesSmallerThanTheCacheToleranceBlurOverWhite)
{
    // A 40-pixel cache used for a 42-pixel rectangle: the two columns beyond it
    // blend white, not stray memory.
    auto item = picture(solid(50, 40, kRed), 0, 0, 400, 300, 0);
    draw(item, QSize(60, 40), 72);
    const QImage image = draw(item, QSize(60, 40), 75);
    ASSERT_EQ(item->cacheSize(), QSize(40, 30));
    EXPECT_EQ(image.pixel(40, 15), blend(kBlue, qRgb(255, 255, 255), 227));
}

// Every way of drawing, on screen with the cache and printed from the DIB, as a
// whole card and as parts of it seen through a moved viewport origin.
TEST(PictureDrawTest, ScreenAndPrintAgreeAndPartsEqualTheWhole)
{
    struct Mode {
        int edge, shape, whiteOut;
    };
    const Mode modes[] = {{2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {0, 0, 0}, {0, 1, 0},
                          {0, 2, 0}, {1, 0, 0}, {1, 2, 0}, {0, 0, 1}};
    QImage source = testPicture(160, 120).toImage();
    source.setPixel(3, 3, qRgb(255, 255, 255));
    for (const Mode& m : modes) {
        for (const int ppi : {72, 130}) {
            auto item = picture(platform::Dib::fromImage(source), 150, 100, 1500, 1100, m.edge, m.shape);
            item->whiteOut = m.whiteOut;
            const QSize card(ppi * 3, ppi * 2);
            const QImage printed = draw(item, card, ppi, true);
            draw(item, card, ppi);
            EXPECT_EQ(draw(item, card, ppi), printed) << m.edge << m.shape << m.whiteOut << " " << ppi;
            for (const QRect part : {QRect(40, 30, 50, 70), QRect(150, 100, 60, 40), QRect(0, 130, 37, 13)}) {
                const QImage seen = draw(item, part.size(), ppi, false, -part.topLeft());
                EXPECT_EQ(seen, printed.copy(part)) << m.edge << m.shape << m.whiteOut << " " << part.x();
            }
        }
    }
}

TEST(PictureDrawTest, EffectsKeepWithinAShapedClip)
{
    const auto item = picture(testPicture(40, 30), 0, 0, 400, 300, 0);
    const QImage whole = draw(item, QSize(40, 30));
    platform::Dc dc(QSize(40, 30));
    dc.image()->fill(kBlue);
    dc.selectClipEllipse(QRect(0, 0, 40, 30));
    item->Draw(dc);
    EXPECT_EQ(dc.image()->pixel(20, 15), whole.pixel(20, 15));
    EXPECT_EQ(dc.image()->pixel(12, 12), whole.pixel(12, 12));
    EXPECT_EQ(dc.image()->pixel(1, 1), kBlue);
    EXPECT_NE(whole.pixel(1, 1), kBlue);
}

// Items far off the card draw nothing on it; a picture shows the same on screen
// as printed, whatever its stored numbers.
TEST(Draw, ExtremeStoredValuesOfEveryKindDrawSafely)
{
    platform::Dc dc(QSize(50, 50));
    QImage white(50, 50, QImage::Format_RGB32);
    white.fill(Qt::white);
    ObjItemRect rect;
    place(rect, INT_MIN, INT_MIN, INT_MAX, -5);
    rect.Draw(dc);
    ObjItemLine line;
    place(line, INT_MAX, 0, INT_MAX, INT_MIN);
    line.width = INT_MAX;
    line.Draw(dc);
    ObjItemText text;
    text.align = 9;
    text.x = INT_MAX;
    text.font.height = 100000;
    std::memset(text.font.faceName, 'A', sizeof text.font.faceName); // no terminator
    text.RecalcSize();
    text.Draw(dc);
    EXPECT_EQ(dc.image()->convertToFormat(QImage::Format_RGB32), white);
    text.font.height = -100000;
    text.x = 0;
    dc.setScale(576); // 800 % of 72
    text.Draw(dc);

    for (const int edge : {0, 1, 2})
        for (const int shape : {0, 1, 2}) {
            auto item = picture(testPicture(30, 20), INT_MIN, -5, INT_MAX, INT_MAX, edge, shape);
            item->dibWidth = INT_MAX; // stored sizes are not trusted
            EXPECT_EQ(draw(item, QSize(50, 50), 600), draw(item, QSize(50, 50), 600, true)) << edge << shape;
            item->whiteOut = 1;
            EXPECT_EQ(draw(item, QSize(50, 50), 600), draw(item, QSize(50, 50), 600, true)) << edge << shape;
        }
}

} // namespace
