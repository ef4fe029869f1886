#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override { viewScale().current = 72; }
    const ViewScaleGuard guard;
};

// The columns (or rows) where any pixel differs from white.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(DrawTest, RectangleCoversItsPixelsPlusOneColumnLeftAndOneRowAbove)
{
    platform::Dc dc(QSize(100, 100));
    ObjItemRect rect;
    rect.x = 100;
    rect.y = 200;
    rect.cx = 300;
    rect.cy = 300;
    rect.Draw(dc);
    EXPECT_EQ(inkBox(*dc.image()), QRect(9, 19, 31, 31));
    EXPECT_EQ(dc.image()->pixel(9, 19), kBlack);
}

TEST_F(DrawTest, LineWidthsFollowTheResolution)
{
    ObjItemLine line;
    line.x = 0;
    line.y = 360;
    line.cx = 720;
    line.cy = 0;
    line.width = 5; // half a millimetre
    {
        platform::Dc dc(QSize(80, 80));
        line.Draw(dc);
        const QRect ink = inkBox(*dc.image());
        EXPECT_EQ(ink.height(), 1);
        EXPECT_EQ(ink.left(), 0);
    }
    viewScale().current = 600;
    {
        platform::Dc dc(QSize(700, 700));
        line.y = 360; // 300 pixels down
        line.Draw(dc);
        int rows = 0;
        for (int y = 280; y < 320; ++y)
            rows += dc.image()->pixel(300, y) != kWhite;
        EXPECT_EQ(rows, 12);
    }
    line.width = 0; // one pixel at any resolution
    platform::Dc dc(QSize(700, 700));
    line.Draw(dc);
    EXPECT_EQ(inkBox(*dc.image()).height(), 1);
    EXPECT_EQ(inkBox(*dc.image()).width(), 600); // the last pixel is left
}

TEST_F(DrawTest, TextIsAlignedAtItsAnchor)
{
    ObjItemText text;
    text.SetText("WW\r\nW");
    text.color = 0x0000FF;
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
    EXPECT_GE(left.left(), 100);
    EXPECT_LE(left.left(), 102);
    EXPECT_LE(right.right(), 100);
    EXPECT_GE(right.right(), 97);
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 100, 2);

    // Each line is aligned within the widest line: the short second line sits right.
    text.align = ObjItemText::AlignRight;
    platform::Dc dc(QSize(200, 100));
    text.Draw(dc);
    const QImage& img = *dc.image();
    QRect second;
    for (int y = 10 + text.cy / 20 + 2; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (img.pixel(x, y) != kWhite)
                second |= QRect(x, y, 1, 1);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NEAR(second.right(), right.right(), 2);
    EXPECT_EQ(img.pixel(right.center()) | 0xFF000000, img.pixel(right.center()));
}

TEST_F(DrawTest, FontHeightSignAndRounding)
{
    // +12 points at 72 dpi: a 12-pixel cell; -12 points: an 11-pixel character height.
    platform::Dc dc(QSize(10, 10));
    platform::LogFont cell = ObjItemText::defaultFont();
    cell.height = toDevice(120);
    EXPECT_EQ(cell.height, 12);
    dc.selectFont(cell);
    EXPECT_NEAR(dc.textMetrics().height, 12, 1);
    platform::LogFont character = cell;
    character.height = toDevice(-120);
    EXPECT_EQ(character.height, -11);
    dc.selectFont(character);
    EXPECT_GT(dc.textMetrics().height, 11);
}

TEST_F(DrawTest, TextEarlierInTheListStaysAboveARectangle)
{
    PmrData page;
    auto text = std::make_unique<ObjItemText>();
    text->SetText("WWWW");
    text->color = 0xFFFFFF; // white text on a black rectangle
    text->x = 100;
    text->y = 100;
    page.append(std::move(text));
    auto rect = std::make_unique<ObjItemRect>();
    rect->x = 0;
    rect->y = 0;
    rect->cx = 1000;
    rect->cy = 1000;
    page.append(std::move(rect));

    platform::Dc dc(QSize(100, 100));
    page.forEachInDrawingOrder([&](const ObjItem& item) { item.Draw(dc); });
    int white = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 60; ++x)
            white += qGray(dc.image()->pixel(x, y)) > 128;
    EXPECT_GT(white, 20);
}

TEST_F(DrawTest, ExtremeStoredValuesDrawSafely)
{
    platform::Dc dc(QSize(50, 50));
    ObjItemRect rect;
    rect.x = INT_MIN;
    rect.y = INT_MIN;
    rect.cx = INT_MAX;
    rect.cy = -5;
    rect.Draw(dc);
    ObjItemLine line;
    line.x = INT_MAX;
    line.cx = INT_MAX;
    line.cy = INT_MIN;
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
    viewScale().current = 576; // 800 % of 72
    text.Draw(dc);
    SUCCEED();
}

} // namespace
