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

using namespace Qt::StringLiterals;
using platform::vertical::withVertical;

namespace {

constexpr int kEm = 120; // 12 points at one pixel an item unit
constexpr int kMargin = 20;

ObjItemText vertical(const QString& text, const char* face = "IPAMincho", int align = ObjItemText::AlignLeft)
{
    ObjItemText item;
    platform::LogFont f = item.GetFont();
    f.setFaceName(QString::fromUtf8(face));
    item.SetFont(withVertical(f, true));
    item.align = align;
    item.SetText(text);
    return item;
}

bool inked(QRgb c) { return qGray(c) < 160; }

// The item drawn at one pixel an item unit on white, its box at (kMargin, kMargin).
struct Drawn {
    QImage image;
    QRect box;
    QRect ink(QRect area = {}) const { return pixels::inkBox(image.copy(area.isNull() ? box : area), inked).translated((area.isNull() ? box : area).topLeft()); }
    int count() const { return pixels::count(image, box, inked); }
    int bands(QRect area = {}) const
    {
        area = area.isNull() ? box : area; // bands of inked rows, top down
        int n = 0;
        for (int y = area.top(), in = 0, was = 0; y <= area.bottom(); ++y, was = in)
            n += (in = pixels::count(image, QRect(area.left(), y, area.width(), 1), inked) > 0) && !was;
        return n;
    }
    QRect half(bool right) const { return QRect(right ? box.center().x() : box.left(), box.top(), box.width() / 2, box.height()); }
};

Drawn draw(ObjItemText item)
{
    item.x += kMargin - item.GetBounds().left;
    item.y = kMargin;
    platform::Dc dc(QSize(item.cx + 2 * kMargin, item.cy + 2 * kMargin));
    dc.setScale(720);
    item.Draw(dc);
    return {*dc.image(), QRect(kMargin, kMargin, item.cx, item.cy)};
}

} // namespace

// Each expectation follows from the rules of vertical setting, in every face the
// program maps the documents' faces to.
TEST(VerticalText, ColumnsInEveryMappedFace)
{
    for (const char* face : {"IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Serif CJK JP"}) {
        SCOPED_TRACE(face);
        const Drawn name = draw(vertical(u"山田太郎"_s, face));
        EXPECT_EQ(std::tuple(name.bands(), name.box.height(), name.ink().width() <= kEm), std::tuple(4, 4 * kEm, true));
        const Drawn lines = draw(vertical(u"山山\r\n一"_s, face)); // the first line is the right-hand column
        EXPECT_EQ(std::pair(lines.bands(lines.half(true)), lines.bands(lines.half(false))), std::pair(2, 1));
        for (const QString& mark : {u"、"_s, u"。"_s}) { // in the upper-right quarter of the cell
            const Drawn m = draw(vertical(mark, face));
            const QRect ink = m.ink();
            EXPECT_TRUE(m.box.height() == kEm && ink.left() >= m.box.center().x() && ink.bottom() <= m.box.center().y())
                << mark.toStdString();
        }
        const QRect latin = draw(vertical(u"ABC"_s, face)).ink(); // on its side
        EXPECT_GT(latin.height(), latin.width());
        const Drawn month = draw(vertical(u"12月"_s, face)); // "12" upright side by side in one cell
        const QRect digits = month.ink(QRect(month.box.topLeft(), QSize(month.box.width(), kEm)));
        EXPECT_EQ(std::tuple(month.box.height(), digits.width() > digits.height(), digits.width() <= month.box.width(), month.bands()),
                  std::tuple(2 * kEm, true, true, 2));
        ObjItemText bold = vertical(u"山田"_s, face);
        const int regular = draw(bold).count();
        bold.font.weight = 700;
        EXPECT_GT(draw(bold).count(), regular * 11 / 10) << "bold, with a bold face of its own or not";
        ObjItemText rare = vertical(u"𠮷"_s, face), flat = rare; // from a fallback face, not a box
        flat.SetFont(withVertical(rare.GetFont(), false));
        EXPECT_NEAR(draw(rare).count(), draw(flat).count(), draw(flat).count() / 10);
    }
}

// Short columns sit at the top, the middle or the bottom; the long one fills the block.
TEST(VerticalText, AlignmentPlacesShortColumns)
{
    for (const char* face : {"IPAGothic", "Noto Serif CJK JP"})
        for (int align : {ObjItemText::AlignLeft, ObjItemText::AlignCenter, ObjItemText::AlignRight}) {
            const Drawn d = draw(vertical(u"山\r\n山山山"_s, face, align));
            const auto cells = [&](const QRect& ink) { return std::pair((ink.top() - kMargin) / kEm, (ink.bottom() - kMargin) / kEm); };
            const int cell = align == ObjItemText::AlignLeft ? 0 : align == ObjItemText::AlignCenter ? 1 : 2;
            EXPECT_EQ(std::tuple(cells(d.ink(d.half(true))), cells(d.ink(d.half(false)))), std::tuple(std::pair(cell, cell), std::pair(0, 2)))
                << face << " " << align;
        }
}

// A text that changes grows from its top-right corner; alignment moves no box;
// turning vertical and back keeps the top-left corner and gives back the bytes.
TEST(VerticalText, BoxHangsFromItsTopRightCornerAndTurnsBackToTheSameBytes)
{
    ObjItemText item = vertical(u"山田"_s);
    item.x = 5000;
    item.y = 700;
    const int width = item.cx;
    EXPECT_EQ(std::pair(item.HitTest(4990, 710, ViewScale::at(720)), item.HitTest(5010, 710, ViewScale::at(720))), std::pair(true, false));
    item.SetText(u"山田太郎\r\n東京"_s);
    item.SetAlign(ObjItemText::AlignCenter);
    EXPECT_EQ(item.GetBounds(), (platform::Rect{5000 - 2 * width, 700, 5000, 700 + 4 * kEm}));

    for (int align : {ObjItemText::AlignLeft, ObjItemText::AlignCenter, ObjItemText::AlignRight}) {
        PmrData page;
        auto& flat = static_cast<ObjItemText&>(**page.append(std::make_unique<ObjItemText>())); // cell height +12 stays
        flat.SetText(u"山田太郎\r\n営業部"_s);
        flat.x = 3000;
        flat.align = align;
        const platform::Rect box = flat.GetBounds();
        const QByteArray bytes = writeDocument(page);
        findField(flat, "font")->set(flat, withVertical(flat.GetFont(), true));
        EXPECT_EQ(std::pair(flat.GetBounds().left, flat.GetBounds().top), std::pair(box.left, box.top));
        const QByteArray turned = writeDocument(page);
        EXPECT_TRUE(turned.contains(withVertical(ObjItemText::defaultFont(), true).toByteArray()));
        PmrData read;
        readDocument(turned, read);
        EXPECT_EQ(std::pair(writeDocument(read), read.items().front()->GetBounds()), std::pair(turned, flat.GetBounds()));
        findField(flat, "font")->set(flat, withVertical(flat.GetFont(), false));
        EXPECT_EQ(writeDocument(page), bytes);
    }
    platform::LogFont f = withVertical(ObjItemText::defaultFont(), true);
    EXPECT_EQ(std::tuple(f.faceNameUnicode(), f.escapement, f.orientation), std::tuple(u"@ＭＳ Ｐゴシック"_s, 2700, 2700));
    f.escapement = 0;
    EXPECT_TRUE(platform::vertical::isVertical(f)) << "the @ makes it vertical, whatever the angle";
}

// Printed to a PDF the columns stay text in a subset of the face, not pictures.
TEST(VerticalText, PdfKeepsTextInTheEmbeddedFace)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        platform::Dc dc(&writer);
        dc.setScale(writer.resolution());
        dc.setPrinting(true);
        ObjItemText item = vertical(u"山田「12月」ABC"_s);
        item.x = 4000;
        item.Draw(dc);
    }
    EXPECT_EQ(std::pair(pdf.data().contains("+IPAMincho"), pdf.data().contains("/Subtype /Image")), std::pair(true, false));
}
