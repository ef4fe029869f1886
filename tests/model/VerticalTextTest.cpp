// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"
#include "Pixels.h"

#include "model/ItemField.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "platform/Dc.h"
#include "platform/VerticalText.h"

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

// The marks take each face's own vertical forms, in the upper-right quarter of the cell.
TEST(VerticalText, CommaAndFullStopSitUpperRightInEveryMappedFace)
{
    for (const char* face : {"IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Serif CJK JP"})
        for (const QString& mark : {u"、"_s, u"。"_s}) {
            const Drawn m = draw(vertical(mark, face));
            const QRect ink = m.ink();
            EXPECT_TRUE(m.box.height() == kEm && ink.left() >= m.box.center().x() && ink.bottom() <= m.box.center().y())
                << face << " " << mark.toStdString();
        }
}

// One face without 𠮷 and one with it.
TEST(VerticalText, CharactersStackInColumnsReadFromTheRight)
{
    for (const char* face : {"IPAMincho", "Noto Sans CJK JP"}) {
        SCOPED_TRACE(face);
        const Drawn name = draw(vertical(u"山田太郎"_s, face));
        EXPECT_EQ(std::tuple(name.bands(), name.box.height(), name.box.width() < name.box.height(), name.ink().width() <= kEm),
                  std::tuple(4, 4 * kEm, true, true));
        const Drawn lines = draw(vertical(u"山山\r\n一"_s, face)); // the first line is the right-hand column
        EXPECT_EQ(std::pair(lines.bands(lines.half(true)), lines.bands(lines.half(false))), std::pair(2, 1));
        const QRect latin = draw(vertical(u"ABC"_s, face)).ink(); // on its side
        EXPECT_GT(latin.height(), latin.width());
        const Drawn month = draw(vertical(u"12月"_s, face)); // "12" upright side by side in one cell
        const QRect digits = month.ink(QRect(0, kMargin, month.image.width(), kEm));
        EXPECT_EQ(std::tuple(month.box.height(), digits.width() > digits.height(), month.box.contains(digits)),
                  std::tuple(2 * kEm, true, true));
        ObjItemText rare = vertical(u"𠮷"_s, face), flat = rare; // from a fallback face, not a box
        flat.SetFont(withVertical(rare.GetFont(), false));
        EXPECT_NEAR(draw(rare).count(), draw(flat).count(), draw(flat).count() / 10);
    }
}

// Short columns sit at the top, the middle or the bottom; the long one fills the block.
TEST(VerticalText, AlignmentPlacesShortColumns)
{
    const auto cells = [](const QRect& ink) { return std::pair((ink.top() - kMargin) / kEm, (ink.bottom() - kMargin) / kEm); };
    for (const auto& [align, cell] : {std::pair(ObjItemText::AlignLeft, 0), std::pair(ObjItemText::AlignCenter, 1),
                                      std::pair(ObjItemText::AlignRight, 2)}) {
        const Drawn d = draw(vertical(u"山\r\n山山山"_s, "IPAGothic", align));
        EXPECT_EQ(std::pair(cells(d.ink(d.half(true))), cells(d.ink(d.half(false)))),
                  std::pair(std::pair(cell, cell), std::pair(0, 2))) << align;
    }
}

// Turning a text vertical and back keeps its top-left corner, reads back from the
// file and gives back the bytes (CardFields checks the top-right corner on a new text).
TEST(VerticalText, TurningVerticalAndBackGivesTheSameBytes)
{
    PmrData page;
    auto& flat = static_cast<ObjItemText&>(**page.append(std::make_unique<ObjItemText>()));
    flat.SetText(u"山田太郎\r\n営業部"_s);
    flat.x = 3000;
    flat.align = ObjItemText::AlignRight;
    const platform::Rect box = flat.GetBounds();
    const QByteArray bytes = writeDocument(page);
    findField(flat, "font")->set(flat, withVertical(flat.GetFont(), true));
    EXPECT_EQ(std::pair(flat.GetBounds().left, flat.GetBounds().top), std::pair(box.left, box.top));
    PmrData read;
    readDocument(writeDocument(page), read);
    EXPECT_EQ(std::pair(writeDocument(read), read.items().front()->GetBounds()), std::pair(writeDocument(page), flat.GetBounds()));
    findField(flat, "font")->set(flat, withVertical(flat.GetFont(), false));
    EXPECT_EQ(writeDocument(page), bytes);
}
