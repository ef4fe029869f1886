// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"
#include "Pixels.h"

#include "model/ItemField.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/VerticalText.h"

#include <QBuffer>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Every family the program maps the documents' faces to.
constexpr const char* kFaces[] = {"IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic", "Noto Sans CJK JP",
                                  "Noto Serif CJK JP"};
constexpr int kEm = 120; // 12 points at one pixel an item unit
constexpr int kMargin = 20;

// A vertical 12-point text of `face`.
ObjItemText vertical(const QString& text, const char* face = "IPAMincho", int align = ObjItemText::AlignLeft)
{
    ObjItemText item;
    platform::LogFont f = item.GetFont();
    f.setFaceName(QString::fromUtf8(face));
    item.SetFont(platform::vertical::withVertical(f, true));
    item.align = align;
    item.SetText(text);
    return item;
}

// The item drawn at one pixel an item unit on white, its box at (kMargin, kMargin).
QImage drawn(ObjItemText& item)
{
    item.x += kMargin - item.GetBounds().left;
    item.y = kMargin;
    platform::Dc dc(QSize(item.cx + 2 * kMargin, item.cy + 2 * kMargin));
    dc.setScale(720);
    item.Draw(dc);
    return *dc.image();
}

QRect boxOf(const ObjItemText& item)
{
    return QRect(kMargin, kMargin, item.cx, item.cy);
}

bool inked(QRgb c)
{
    return qGray(c) < 160;
}

// The ink within area.
QRect inkIn(const QImage& image, const QRect& area)
{
    return pixels::inkBox(image.copy(area), inked).translated(area.topLeft());
}

// The bands of inked rows within area, top down, apart by rows without ink.
int inkBands(const QImage& image, const QRect& area)
{
    int bands = 0;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool ink = pixels::count(image, QRect(area.left(), y, area.width(), 1), inked) > 0;
        bands += ink && !inBand ? 1 : 0;
        inBand = ink;
    }
    return bands;
}

} // namespace

// Each expectation follows from the rules of vertical setting, for every face.
TEST(VerticalText, ColumnsInEveryMappedFace)
{
    for (const char* face : kFaces) {
        SCOPED_TRACE(face);
        ObjItemText name = vertical(u"山田太郎"_s, face);
        const QImage nameImage = drawn(name);
        const QRect nameInk = inkIn(nameImage, boxOf(name));
        EXPECT_EQ(inkBands(nameImage, boxOf(name)), 4) << "four characters stacked";
        EXPECT_EQ(name.cy, 4 * kEm);
        EXPECT_LT(nameInk.width(), kEm + 2) << "in one column";
        EXPECT_GT(name.cy, 2 * name.cx);

        // The first line is the right-hand column: two cells there, one on the left.
        ObjItemText two = vertical(u"山山\r\n一"_s, face);
        const QImage twoImage = drawn(two);
        const QRect box = boxOf(two);
        const QRect right(box.center().x(), box.top(), box.width() / 2, box.height());
        const QRect left(box.left(), box.top(), box.width() / 2, box.height());
        EXPECT_EQ(std::pair(inkBands(twoImage, right), inkBands(twoImage, left)), std::pair(2, 1));
        ObjItemText lines = two;
        lines.SetFont(platform::vertical::withVertical(two.GetFont(), false));
        EXPECT_EQ(two.cx, lines.cy) << "columns as far apart as lines";

        // The vertical forms of the small marks sit in the upper-right quarter of the cell.
        for (const QString& mark : {u"、"_s, u"。"_s}) {
            ObjItemText m = vertical(mark, face);
            const QRect cell = boxOf(m);
            const QRect ink = inkIn(drawn(m), cell);
            EXPECT_EQ(m.cy, kEm);
            EXPECT_TRUE(!ink.isEmpty() && ink.left() >= cell.center().x() && ink.bottom() <= cell.center().y())
                << mark.toStdString() << " ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                << ink.height() << " in a cell " << cell.width() << "x" << cell.height();
        }

        // Latin letters lie on their side as one run.
        ObjItemText latin = vertical(u"ABC"_s, face);
        const QRect latinInk = inkIn(drawn(latin), boxOf(latin));
        EXPECT_GT(latinInk.height(), latinInk.width());

        // Two half-width digits stand upright side by side in one cell of the column.
        ObjItemText month = vertical(u"12月"_s, face);
        const QImage monthImage = drawn(month);
        const QRect digits = inkIn(monthImage, QRect(kMargin, kMargin, month.cx, kEm));
        EXPECT_EQ(month.cy, 2 * kEm);
        EXPECT_GT(digits.width(), digits.height());
        EXPECT_LE(digits.width(), month.cx);
        EXPECT_EQ(inkBands(monthImage, boxOf(month)), 2);

        // Bold is bolder, whether the face has a bold of its own or not.
        ObjItemText bold = vertical(u"山田"_s, face);
        platform::LogFont heavy = bold.GetFont();
        heavy.weight = 700;
        const int regularInk = pixels::count(drawn(bold), boxOf(bold), inked);
        bold.SetFont(heavy);
        EXPECT_GT(pixels::count(drawn(bold), boxOf(bold), inked), regularInk * 11 / 10);

        // A character the face lacks is drawn from a fallback face, never as a box.
        ObjItemText rare = vertical(u"𠮷"_s, face);
        ObjItemText flat = rare;
        flat.SetFont(platform::vertical::withVertical(rare.GetFont(), false));
        const int upright = pixels::count(drawn(rare), boxOf(rare), inked);
        const int across = pixels::count(drawn(flat), boxOf(flat), inked);
        EXPECT_NEAR(upright, across, across / 10);
    }
}

// Short columns sit at the top, the bottom or the middle of the block; the long
// one fills it.
TEST(VerticalText, AlignmentPlacesShortColumns)
{
    const struct {
        int align;
        int shortFrom; // the cell the short column's ink lies in
    } cases[] = {{ObjItemText::AlignLeft, 0}, {ObjItemText::AlignCenter, 1}, {ObjItemText::AlignRight, 2}};
    for (const char* face : {"IPAGothic", "Noto Serif CJK JP"})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(face) + " align " + std::to_string(c.align));
            ObjItemText item = vertical(u"山\r\n山山山"_s, face, c.align);
            const QImage image = drawn(item);
            const QRect box = boxOf(item);
            const QRect shortInk = inkIn(image, QRect(box.center().x(), box.top(), box.width() / 2, box.height()));
            const QRect longInk = inkIn(image, QRect(box.left(), box.top(), box.width() / 2, box.height()));
            EXPECT_EQ(item.cy, 3 * kEm);
            const auto cells = [&](const QRect& ink) {
                return std::pair((ink.top() - box.top()) / kEm, (ink.bottom() - box.top()) / kEm);
            };
            EXPECT_EQ(cells(shortInk), std::pair(c.shortFrom, c.shortFrom));
            EXPECT_EQ(cells(longInk), std::pair(0, 2));
        }
}

// The box hangs from its top-right corner: a text that changes grows left and
// down. Turning a text vertical or back keeps its box's top-left corner.
TEST(VerticalText, BoxHangsFromItsTopRightCorner)
{
    ObjItemText item = vertical(u"山田"_s);
    item.x = 5000;
    item.y = 700;
    const platform::Rect before = item.GetBounds();
    EXPECT_EQ(before, (platform::Rect{5000 - item.cx, 700, 5000, 700 + 2 * kEm}));
    const ViewScale scale = ViewScale::at(720);
    EXPECT_EQ(std::pair(item.HitTest(4990, 710, scale), item.HitTest(5010, 710, scale)), std::pair(true, false));
    item.SetText(u"山田太郎\r\n東京"_s);
    const platform::Rect after = item.GetBounds();
    EXPECT_EQ(std::tuple(after.right, after.top, after.bottom), std::tuple(5000, 700, 700 + 4 * kEm));
    EXPECT_EQ(after.left, 5000 - 2 * (before.right - before.left));
    item.SetAlign(ObjItemText::AlignCenter);
    EXPECT_EQ(item.GetBounds(), after) << "alignment moves the columns, not the box";

    for (int align : {ObjItemText::AlignLeft, ObjItemText::AlignCenter, ObjItemText::AlignRight}) {
        ObjItemText flat;
        flat.SetText(u"山田太郎"_s);
        flat.SetFontSize(12);
        flat.x = 3000;
        flat.y = 400;
        flat.align = align;
        const platform::Rect flatBox = flat.GetBounds();
        const ItemField* font = findField(flat, "font");
        font->set(flat, platform::vertical::withVertical(flat.GetFont(), true));
        EXPECT_EQ(std::tuple(flat.GetBounds().left, flat.GetBounds().top, flat.cy), std::tuple(flatBox.left, 400, 4 * kEm));
        font->set(flat, platform::vertical::withVertical(flat.GetFont(), false));
        EXPECT_EQ(std::pair(flat.GetBounds(), flat.x), std::pair(flatBox, 3000));
    }
}

// A vertical text is an ordinary text: its font says so, the bytes travel as
// they are, and turning a text vertical and back gives the same document.
TEST(VerticalText, StoredAsAnOrdinaryText)
{
    const platform::LogFont on = platform::vertical::withVertical(ObjItemText::defaultFont(), true);
    EXPECT_EQ(std::tuple(on.faceNameUnicode(), on.escapement, on.orientation),
              std::tuple(u"@ＭＳ Ｐゴシック"_s, 2700, 2700));
    EXPECT_EQ(platform::vertical::withVertical(on, false), ObjItemText::defaultFont());
    platform::LogFont angled = ObjItemText::defaultFont();
    angled.escapement = 2700;
    EXPECT_FALSE(platform::vertical::isVertical(angled)) << "only the face's @ makes it vertical";
    angled.setFaceName(u"@IPAMincho"_s);
    angled.escapement = 0;
    EXPECT_TRUE(platform::vertical::isVertical(angled));

    PmrData page;
    auto text = std::make_unique<ObjItemText>();
    text->SetText(u"山田太郎\r\n営業部"_s);
    text->x = 900;
    text->y = 300;
    ObjItemText& item = static_cast<ObjItemText&>(**page.append(std::move(text)));
    const QByteArray flat = writeDocument(page);
    const ItemField* font = findField(item, "font");
    font->set(item, platform::vertical::withVertical(item.GetFont(), true));
    const QByteArray columns = writeDocument(page);
    EXPECT_NE(columns, flat);
    EXPECT_TRUE(columns.contains(on.toByteArray()));

    PmrData read;
    readDocument(columns, read);
    EXPECT_EQ(writeDocument(read), columns);
    EXPECT_EQ(read.items().front()->GetBounds(), item.GetBounds());
    font->set(item, platform::vertical::withVertical(item.GetFont(), false));
    EXPECT_EQ(writeDocument(page), flat);
}

// Printed to a PDF the columns stay text in the embedded face, not pictures.
TEST(VerticalText, PdfKeepsTextInTheEmbeddedFace)
{
    ObjItemText item = vertical(u"山田「12月」ABC"_s, "IPAMincho");
    item.x = 4000;
    item.y = 200;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(600);
        platform::Dc dc(&writer);
        dc.setScale(600);
        dc.setPrinting(true);
        item.Draw(dc);
    }
    const QByteArray bytes = pdf.data();
    EXPECT_TRUE(bytes.contains("+IPAMincho")) << "a subset of the face";
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
}
