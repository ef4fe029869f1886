#include "DocumentBytes.h"

#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// The box of every pixel from row `top` down that differs from white.
QRect inkBox(const QImage& image, int top = 0)
{
    QRect box;
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                box |= QRect(x, y, 1, 1);
    return box;
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
    int red = 0; // in the item's colour: red, not blue
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            red += qRed(dc.image()->pixel(x, y)) > 200 && qGreen(dc.image()->pixel(x, y)) < 80;
    EXPECT_GT(red, 5);
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

TEST(Draw, ExtremeStoredValuesDrawSafely)
{
    platform::Dc dc(QSize(50, 50));
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
    text.font.height = -100000;
    text.x = 0;
    dc.setScale(576); // 800 % of 72
    text.Draw(dc);
    SUCCEED();
}

} // namespace
