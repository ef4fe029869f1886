// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"

#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <array>
#include <climits>

using platform::Rect;
using namespace Qt::StringLiterals;

namespace {

class ItemsTest : public ::testing::Test {
protected:
    const ViewScale at72 = ViewScale::at(72);
    const Rect card{0, 0, 2580, 1560};
};

QPoint handle(const ObjItem& item, int i)
{
    QPoint p;
    EXPECT_TRUE(item.GetHandle(i, p));
    return p;
}

TEST_F(ItemsTest, NewItemsTakeTheirDefaultsAndAreCentred)
{
    const ObjItemText text(card);
    EXPECT_EQ(std::tuple(text.GetText(), text.font.height, text.font.charSet, text.font.pitchAndFamily, text.font.faceNameUnicode()),
              std::tuple(CardText("Text"), 12, 128, 0x32, QStringLiteral("ＭＳ Ｐゴシック")));
    EXPECT_TRUE(text.cx > 0 && text.cy > 0);
    EXPECT_EQ(QPoint(text.x, text.y), QPoint((card.right - text.cx) / 2, (card.bottom - text.cy) / 2));

    EXPECT_EQ(ObjItemLine(card, at72).GetBounds(), (Rect{1140, 780, 1440, 780})); // 30 pixels at 72 dpi
    const ObjItemRect rect(card, ViewScale::at(144));
    EXPECT_EQ(rect.GetBounds(), (Rect{1215, 705, 1365, 855})); // 30 pixels at the present zoom
    EXPECT_EQ(std::pair(rect.GetHandleCount(), text.GetHandleCount()), std::pair(4, 0));
    QPoint p;
    EXPECT_FALSE(text.GetHandle(0, p) || rect.GetHandle(4, p));
}

TEST_F(ItemsTest, TextsAreMeasuredOnEveryLineWithoutPrefixesAndKeepTheirSizeAndBlock)
{
    ObjItemText text(card);
    const int defaultWidth = text.cx;
    // The font size is clamped and stored as a character height.
    const std::pair<int, int> sizes[] = {{5, 8}, {-100, 72}, {INT_MIN, 72}, {12, 12}};
    for (const auto& [size, kept] : sizes) {
        text.SetFontSize(size);
        EXPECT_EQ(std::pair(text.GetFontSize(), text.font.height), std::pair(kept, -kept)) << size;
    }
    EXPECT_NE(text.cx, defaultWidth); // character height differs from cell height

    const auto sized = [&text](const auto& s) {
        text.SetText(s);
        return QSize(text.cx, text.cy);
    };
    const int one = sized("A").height();
    EXPECT_EQ(sized("A\r\nWWWWW\r\nB").height(), 3 * one);
    const int withAmp = sized("a&b").width(); // no prefix processing: the ampersand has width
    EXPECT_GT(withAmp, sized("ab").width());
    text.SetText(u"〜"_s); // CP932 reads its bytes back as ～
    EXPECT_TRUE(text.GetText().isWide());
    const int kanji = sized(u"野"_s).width();
    EXPECT_GT(sized(u"𠮷野"_s).width(), kanji + kanji / 2);
    EXPECT_EQ(text.textString(), u"𠮷野"_s);

    // A new alignment keeps the block in place; a stored one outside 0..2 is left.
    text.x = 1000;
    text.cx = 101;
    const Rect before = text.GetBounds();
    const std::pair<int, int> aligns[] = {{ObjItemText::AlignCenter, 1050}, {ObjItemText::AlignRight, 1101},
                                          {3, 1101}, {ObjItemText::AlignRight, 1101}};
    for (const auto& [align, x] : aligns) {
        text.SetAlign(align);
        EXPECT_EQ(text.x, x) << align;
        EXPECT_EQ(text.GetBounds(), before) << align;
    }
    text.align = 7;
    EXPECT_EQ(text.GetBounds().left, 1101);
}

TEST_F(ItemsTest, LineHandlesNeverLeaveAZeroLengthAndHitsHaveTheToleranceAndItsAsymmetry)
{
    ObjItemLine line;
    place(line, 100, 100, 300, 0);
    line.MoveHandle(1, -300, 0);
    EXPECT_EQ(line.GetBounds(), (Rect{100, 100, 101, 100}));
    line.cx = 300;
    line.MoveHandle(0, 300, 0); // one unit left of the unmoved end
    line.MoveHandle(2, 5, 5); // no such handle
    EXPECT_EQ(std::pair(line.GetBounds(), handle(line, 1)), std::pair(Rect{399, 100, 400, 100}, QPoint(400, 100)));

    place(line, 100, 100, 400, 0);
    const int t = 20; // 2 pixels at 72 dpi; the end itself is never a midpoint
    const std::tuple<int, int, bool> hits[] = {
        {300, 100 + t, true},     {300, 100 + t + 1, false}, {100, 100, true},       {500 + t - 1, 100, true},
        {500 + t + 2, 100, false}, {100 - t, 100, true},      {100 - t - 1, 100, false}, {300, 200, false}};
    for (const auto& [x, y, hit] : hits)
        EXPECT_EQ(line.HitTest(x, y, at72), hit) << x << "," << y;
    // Inverted line: bounds are not normalised, hit test still works.
    place(line, 100, 100, -400, -300);
    EXPECT_EQ(line.GetBounds(), (Rect{100, 100, -300, -200}));
    EXPECT_EQ(std::pair(line.HitTest(-100, -50, at72), line.HitTest(-100, 50, at72)), std::pair(true, false));
    // Extreme coordinates end without overflow or endless halving.
    EXPECT_FALSE(ObjItemLine::HitSegment({0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, 20));
    EXPECT_TRUE(ObjItemLine::HitSegment({-1, -1}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, 20));
}

TEST_F(ItemsTest, RectangleHandlesKeepTheOppositeCornerAndAMinimumOfOneUnit)
{
    ObjItemRect rect;
    place(rect, 100, 200, 300, 400);
    EXPECT_EQ((std::array{handle(rect, 0), handle(rect, 1), handle(rect, 2), handle(rect, 3)}),
              (std::array{QPoint(400, 600), QPoint(100, 200), QPoint(100, 600), QPoint(400, 200)}));
    const std::tuple<int, int, int, Rect> moves[] = {
        {0, -10000, -10000, {100, 200, 101, 201}}, {1, -50, -60, {50, 140, 101, 201}}, {3, 10, 10000, {50, 200, 111, 201}}};
    for (const auto& [i, dx, dy, bounds] : moves) {
        rect.MoveHandle(i, dx, dy);
        EXPECT_EQ(rect.GetBounds(), bounds) << i;
    }
    EXPECT_EQ(std::pair(rect.HitTest(50, 200, at72), rect.HitTest(111, 200, at72)), std::pair(true, false));
    rect.x = INT_MAX - 5;
    rect.MoveHandle(0, INT_MAX, INT_MAX); // saturates instead of wrapping
    EXPECT_GE(rect.cx, 1);
}

TEST_F(ItemsTest, PicturesFitTheCardAndKeepTheirAspectWhenResized)
{
    // A point a pixel and centred; too wide for the card, fitted to it.
    EXPECT_EQ(ObjItemBitmap(card, testPicture(600, 100)).GetBounds(), (Rect{0, 565, 2580, 995}));
    ObjItemBitmap item(card, testPicture(40, 20));
    EXPECT_EQ(item.GetBounds(), (Rect{1090, 680, 1490, 880}));
    const std::tuple<int, int, int, Rect> moves[] = {
        {0, 200, 0, {1090, 680, 1490, 880}},             // box 600 x 200
        {0, 400, 400, {1090, 680, 1890, 1080}},          // box 800 x 600
        {1, 400, 100, {1490, 880, 1890, 1080}},          // top-left, box 400 x 300: the bottom-right corner stays
        {2, 100000, -100000, {1888, 880, 1890, 881}}};   // bottom-left: the top-right stays; at least 2 x 1
    for (const auto& [i, dx, dy, bounds] : moves) {
        item.MoveHandle(i, dx, dy);
        EXPECT_EQ(item.GetBounds(), bounds) << i << " " << dx;
    }
    // A top-down header of the least height: its magnitude saturates.
    QByteArray bytes = testPicture(2, 2).bytes();
    qToLittleEndian<qint32>(INT_MIN, bytes.data() + 8);
    item.ReplacePicture(platform::Dib(bytes));
    EXPECT_EQ(std::pair(ObjItemBitmap(card, platform::Dib(bytes)).dibHeight, item.dibHeight), std::pair(INT_MAX, INT_MAX));
}

// Clones are deep and keep every field. A field set follows the item's rules; one
// loaded keeps the stored value.
TEST_F(ItemsTest, ClonesAndLoadedFieldsKeepTheStoredValuesAndSetFieldsFollowTheItemsRules)
{
    ObjItemText original(card);
    original.SetText("abc");
    original.reserved = 7;
    original.cx = 999; // not measured again
    const auto textCopy = original.Clone();
    const auto& c = static_cast<const ObjItemText&>(*textCopy);
    EXPECT_EQ(std::tuple(c.GetText(), c.reserved, c.cx), std::tuple(CardText("abc"), 7, 999));

    auto source = std::make_unique<ObjItemBitmap>(card, testPicture(8, 8));
    source->whiteOut = 1;
    source->shape = ObjItemBitmap::ShapeHeart;
    const auto pictureCopy = source->Clone();
    source.reset();
    const auto& p = static_cast<const ObjItemBitmap&>(*pictureCopy);
    EXPECT_EQ(std::tuple(p.shape, p.whiteOut, p.picture().toImage().isNull(), std::string(p.className())),
              std::tuple(int(ObjItemBitmap::ShapeHeart), 1, false, std::string("ObjItemBitmap")));

    ObjItemText text;
    const ItemField& t = *findField(text, "text");
    const int width = text.cx;
    t.load(text, QByteArray("WWWWWWWW"));
    EXPECT_EQ(text.cx, width);
    t.set(text, QByteArray("WWWWWWWW"));
    EXPECT_GT(text.cx, width);
    EXPECT_THROW(t.set(text, 1), std::bad_variant_access);
    text.SetText(QStringLiteral("𠮷野")); // what an undo keeps and puts back is the whole text
    ObjItemText copy;
    t.load(copy, t.get(text));
    EXPECT_EQ(copy.textString(), QStringLiteral("𠮷野"));

    const ItemField& f = *findField(text, "font");
    platform::LogFont font = text.font;
    font.height = 100;
    f.load(text, font);
    EXPECT_EQ(text.font.height, 100);
    f.set(text, font);
    EXPECT_EQ(text.font.height, -72);

    ObjItemBitmap picture;
    const ItemField& d = *findField(picture, "dib");
    place(picture, 0, 0, 400, 400);
    d.load(picture, testPicture(10, 40)); // the box stays, the picture's size follows its header
    EXPECT_EQ(std::pair(picture.GetBounds(), picture.dibHeight), std::pair(platform::Rect{0, 0, 400, 400}, 40));
    d.set(picture, testPicture(40, 10)); // fitted and centred in the old box
    EXPECT_EQ(picture.GetBounds(), (platform::Rect{0, 150, 400, 250}));
}

} // namespace
