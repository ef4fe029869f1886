// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"

#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/ViewScale.h"

#include <QtEndian>
#include <gtest/gtest.h>

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
    EXPECT_EQ(text.GetText(), QByteArray("Text"));
    EXPECT_EQ(text.font.height, 12);
    EXPECT_EQ(text.font.charSet, 128);
    EXPECT_EQ(text.font.pitchAndFamily, 0x32);
    EXPECT_EQ(text.font.faceNameUnicode(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_GT(text.cx, 0);
    EXPECT_GT(text.cy, 0);
    EXPECT_EQ(text.x, (card.right - text.cx) / 2);
    EXPECT_EQ(text.y, (card.bottom - text.cy) / 2);

    EXPECT_EQ(ObjItemLine(card, at72).GetBounds(), (Rect{1140, 780, 1440, 780})); // 30 pixels at 72 dpi
    const ObjItemRect rect(card, ViewScale::at(144));
    EXPECT_EQ(rect.GetBounds(), (Rect{1215, 705, 1365, 855})); // 30 pixels at the present zoom
    EXPECT_EQ(rect.GetHandleCount(), 4);
    EXPECT_EQ(text.GetHandleCount(), 0);
    QPoint p;
    EXPECT_FALSE(text.GetHandle(0, p));
    EXPECT_FALSE(rect.GetHandle(4, p));
}

TEST_F(ItemsTest, FontSizeIsClampedAndStoredAsCharacterHeight)
{
    ObjItemText text(card);
    const int defaultWidth = text.cx;
    text.SetFontSize(12);
    EXPECT_EQ(text.font.height, -12);
    EXPECT_NE(text.cx, defaultWidth); // character height differs from cell height
    text.SetFontSize(5);
    EXPECT_EQ(text.GetFontSize(), 8);
    text.SetFontSize(-100);
    EXPECT_EQ(text.font.height, -72);
    text.SetFontSize(INT_MIN);
    EXPECT_EQ(text.GetFontSize(), 72);
    // SetFont's clamping and sign are pinned with the panel's font dialog.
}

// Line breaking and the widest line are the device's, pinned with its text tests.
TEST_F(ItemsTest, TextIsMeasuredOnEveryLineWithoutPrefixesAndKeepsWhatCp932CannotHold)
{
    ObjItemText text(card);
    text.SetText("A");
    const int one = text.cy;
    text.SetText("A\r\nWWWWW\r\nB");
    EXPECT_EQ(text.cy, 3 * one);
    text.SetText("a&b"); // no prefix processing: the ampersand has width
    const int withAmp = text.cx;
    text.SetText("ab");
    EXPECT_GT(withAmp, text.cx);

    text.SetText(u"〜"_s); // CP932 reads its bytes back as ～
    EXPECT_TRUE(text.GetText().isWide());
    text.SetText(u"野"_s);
    const int kanji = text.cx;
    text.SetText(u"𠮷野"_s);
    EXPECT_EQ(text.textString(), u"𠮷野"_s);
    EXPECT_GT(text.cx, kanji + kanji / 2);
}

TEST_F(ItemsTest, SetAlignKeepsTheBlockInPlace)
{
    ObjItemText text(card);
    text.x = 1000;
    text.cx = 101;
    const Rect before = text.GetBounds();
    text.SetAlign(ObjItemText::AlignCenter);
    EXPECT_EQ(text.x, 1050);
    EXPECT_EQ(text.GetBounds(), before);
    text.SetAlign(ObjItemText::AlignRight);
    EXPECT_EQ(text.x, 1101);
    EXPECT_EQ(text.GetBounds(), before);
    text.SetAlign(3);
    text.SetAlign(ObjItemText::AlignRight);
    EXPECT_EQ(text.x, 1101);
    // A stored alignment outside 0..2 behaves as left.
    text.align = 7;
    EXPECT_EQ(text.GetBounds().left, 1101);
}

TEST_F(ItemsTest, LineHandlesNeverLeaveAZeroLength)
{
    ObjItemLine line;
    place(line, 100, 100, 300, 0);
    line.MoveHandle(1, -300, 0);
    EXPECT_EQ(line.GetBounds(), (Rect{100, 100, 101, 100}));
    line.cx = 300;
    line.MoveHandle(0, 300, 0); // one unit left of the unmoved end
    EXPECT_EQ(line.GetBounds(), (Rect{399, 100, 400, 100}));
    EXPECT_EQ(handle(line, 1), QPoint(400, 100));
    line.MoveHandle(2, 5, 5);
    EXPECT_EQ(line.x, 399);
}

TEST_F(ItemsTest, LineHitTestHasTheToleranceAndItsAsymmetry)
{
    ObjItemLine line;
    place(line, 100, 100, 400, 0);
    const int t = 20; // 2 pixels at 72 dpi
    EXPECT_TRUE(line.HitTest(300, 100 + t, at72));
    EXPECT_FALSE(line.HitTest(300, 100 + t + 1, at72));
    EXPECT_TRUE(line.HitTest(100, 100, at72));
    EXPECT_TRUE(line.HitTest(500 + t - 1, 100, at72)); // the end itself is never a midpoint
    EXPECT_FALSE(line.HitTest(500 + t + 2, 100, at72));
    EXPECT_TRUE(line.HitTest(100 - t, 100, at72));
    EXPECT_FALSE(line.HitTest(100 - t - 1, 100, at72));
    EXPECT_FALSE(line.HitTest(300, 200, at72));

    // Inverted line: bounds are not normalised, hit test still works.
    line.cx = -400;
    line.cy = -300;
    EXPECT_EQ(line.GetBounds(), (Rect{100, 100, -300, -200}));
    EXPECT_TRUE(line.HitTest(-100, -50, at72));
    EXPECT_FALSE(line.HitTest(-100, 50, at72));

    // Extreme coordinates end without overflow or endless halving.
    EXPECT_FALSE(ObjItemLine::HitSegment({0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, 20));
    EXPECT_TRUE(ObjItemLine::HitSegment({-1, -1}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, 20));
}

TEST_F(ItemsTest, RectangleHandlesKeepTheOppositeCornerAndAMinimumOfOneUnit)
{
    ObjItemRect rect;
    place(rect, 100, 200, 300, 400);
    const QPoint corners[] = {{400, 600}, {100, 200}, {100, 600}, {400, 200}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(handle(rect, i), corners[i]) << i;

    rect.MoveHandle(0, -10000, -10000);
    EXPECT_EQ(rect.GetBounds(), (Rect{100, 200, 101, 201}));
    rect.MoveHandle(1, -50, -60);
    EXPECT_EQ(rect.GetBounds(), (Rect{50, 140, 101, 201}));
    rect.MoveHandle(3, 10, 10000);
    EXPECT_EQ(rect.GetBounds(), (Rect{50, 200, 111, 201}));
    EXPECT_TRUE(rect.HitTest(50, 200, at72));
    EXPECT_FALSE(rect.HitTest(111, 200, at72));

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
    item.MoveHandle(0, 200, 0); // box 600 x 200
    EXPECT_EQ(item.GetBounds(), (Rect{1090, 680, 1490, 880}));
    item.MoveHandle(0, 400, 400); // box 800 x 600
    EXPECT_EQ(item.GetBounds(), (Rect{1090, 680, 1890, 1080}));
    item.MoveHandle(1, 400, 100); // top-left, box 400 x 300: the bottom-right corner stays
    EXPECT_EQ(item.GetBounds(), (Rect{1490, 880, 1890, 1080}));
    item.MoveHandle(2, 100000, -100000); // bottom-left: the top-right stays; at least 2 x 1
    EXPECT_EQ(item.GetBounds(), (Rect{1888, 880, 1890, 881}));
    // A replacement picture's fit in the old box is pinned with the item fields.

    // A top-down header of the least height: its magnitude saturates.
    QByteArray bytes = testPicture(2, 2).bytes();
    qToLittleEndian<qint32>(INT_MIN, bytes.data() + 8);
    EXPECT_EQ(ObjItemBitmap(card, platform::Dib(bytes)).dibHeight, INT_MAX);
    item.ReplacePicture(platform::Dib(bytes));
    EXPECT_EQ(item.dibHeight, INT_MAX);
}

TEST_F(ItemsTest, ClonesAreDeepAndKeepEveryField)
{
    ObjItemText text(card);
    text.SetText("abc");
    text.reserved = 7;
    text.cx = 999; // not measured again
    const auto textCopy = text.Clone();
    const auto& t = static_cast<const ObjItemText&>(*textCopy);
    EXPECT_EQ(t.GetText(), QByteArray("abc"));
    EXPECT_EQ(t.reserved, 7);
    EXPECT_EQ(t.cx, 999);

    auto source = std::make_unique<ObjItemBitmap>(card, testPicture(8, 8));
    source->whiteOut = 1;
    source->shape = ObjItemBitmap::ShapeHeart;
    const auto copy = source->Clone();
    source.reset();
    const auto& p = static_cast<const ObjItemBitmap&>(*copy);
    EXPECT_EQ(p.shape, ObjItemBitmap::ShapeHeart);
    EXPECT_EQ(p.whiteOut, 1);
    EXPECT_FALSE(p.picture().toImage().isNull());
    EXPECT_EQ(std::string(copy->className()), "ObjItemBitmap");
}

TEST_F(ItemsTest, FieldsSetFollowTheItemsRulesAndLoadedKeepTheStoredValues)
{
    ObjItemText text;
    const ItemField& t = *findField(text, "text");
    const int width = text.cx;
    t.load(text, QByteArray("WWWWWWWW"));
    EXPECT_EQ(text.cx, width);
    t.set(text, QByteArray("WWWWWWWW"));
    EXPECT_GT(text.cx, width);
    EXPECT_THROW(t.set(text, 1), std::bad_variant_access);
    // What an undo keeps and puts back is the whole text.
    text.SetText(QStringLiteral("𠮷野"));
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
    EXPECT_EQ(picture.GetBounds(), (platform::Rect{0, 0, 400, 400}));
    EXPECT_EQ(picture.dibHeight, 40);
    d.set(picture, testPicture(40, 10)); // fitted and centred in the old box
    EXPECT_EQ(picture.GetBounds(), (platform::Rect{0, 150, 400, 250}));
}

} // namespace
