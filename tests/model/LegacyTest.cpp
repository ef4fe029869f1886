#include "DocumentBytes.h"

#include "model/Archive.h"
#include "model/ObjItem0.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "model/ViewScale.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

platform::LogFont boldFont()
{
    platform::LogFont f = ObjItemText::defaultFont();
    f.height = -18;
    f.weight = 700;
    f.faceName[31] = 'x'; // bytes after the terminator travel too
    return f;
}

} // namespace

TEST(LegacyItems, MixedFamiliesShareIndicesAndConvertInPlace)
{
    const QByteArray dib = testPicture(6, 3).bytes();
    const QByteArray bytes = DocumentBytes()
                                 .head(9)
                                 .newClass("ObjItem0Rect").common(1, 1, 10, 10, 0x11)                    // 1, 2
                                 .newClass("ObjItemText").common(2, 2, 20, 20, 0x22).text(0, 0, "a", boldFont()) // 3, 4
                                 .classRef(1).common(3, 3, 30, 30, 0x33)                                 // 5
                                 .newClass("ObjItem0Text").common(4, 4, 40, 40, 0x44).text(2, 9, "b", boldFont()) // 6, 7
                                 .newClass("ObjItem0Bitmap").common(5, 5, 60, 30, 0).picture(6, 3, 1, 1, 2, dib) // 8, 9
                                 .newClass("ObjItem0").common(6, 6, 60, 60, 0x66)                        // 10, 11
                                 .newClass("ObjItem0Line").common(7, 7, 70, -70, 0x77).i32(15)          // 12, 13
                                 .classRef(3).common(8, 8, 80, 80, 0x88).text(1, 0, "c", boldFont())    // 14
                                 .classRef(6).common(9, 9, 90, 90, 0x99).text(0, 0, "d", boldFont())    // 15
                                 .tail(90, 50);
    PmrData page;
    readDocument(bytes, page);

    struct Expect {
        int kind;
        const char* stored;
    };
    const Expect expected[] = {{ObjItem::KindRect, "ObjItem0Rect"},     {ObjItem::KindText, ""},
                               {ObjItem::KindRect, "ObjItem0Rect"},     {ObjItem::KindText, "ObjItem0Text"},
                               {ObjItem::KindPicture, "ObjItem0Bitmap"}, {ObjItem::KindBase, "ObjItem0"},
                               {ObjItem::KindLine, "ObjItem0Line"},     {ObjItem::KindText, ""},
                               {ObjItem::KindText, "ObjItem0Text"}};
    ASSERT_EQ(page.items().size(), std::size(expected));
    int x = 1;
    auto it = page.items().begin();
    for (const Expect& e : expected) {
        SCOPED_TRACE(x);
        const ObjItem& item = **it++;
        EXPECT_EQ(item.x, x);
        EXPECT_EQ(item.kind, e.kind);
        EXPECT_EQ(item.storedClass, QByteArray(e.stored));
        EXPECT_EQ(item.cx, e.kind == ObjItem::KindPicture ? 60 : 10 * x);
        EXPECT_EQ(item.color, e.kind == ObjItem::KindPicture ? 0u : std::uint32_t(0x11 * x));
        ++x;
    }
    const auto at = [&](int i) { return std::next(page.items().begin(), i)->get(); };
    const auto& legacyText = dynamic_cast<const ObjItemText&>(*at(3));
    EXPECT_EQ(legacyText.font.toByteArray(), boldFont().toByteArray());
    EXPECT_EQ(legacyText.align, 2);
    EXPECT_EQ(legacyText.reserved, 9);
    EXPECT_EQ(legacyText.GetText(), QByteArray("b"));
    const auto& legacyPicture = dynamic_cast<const ObjItemBitmap&>(*at(4)); // its reading object is gone
    EXPECT_EQ(legacyPicture.dib.bytes(), dib);
    EXPECT_EQ(std::tuple(legacyPicture.whiteOut, legacyPicture.edgeMode, legacyPicture.shape), std::tuple(1, 1, 2));
    EXPECT_EQ(dynamic_cast<const ObjItemLine&>(*at(6)).width, 15);

    // Texts, converted or not, are drawn after everything else.
    std::vector<int> order;
    page.forEachInDrawingOrder([&](const ObjItem& item) { order.push_back(item.x); });
    EXPECT_EQ(order, (std::vector<int>{1, 3, 5, 6, 7, 2, 4, 8, 9}));

    // Written back, every item carries its current class.
    const QByteArray written = writeDocument(page);
    EXPECT_FALSE(written.contains("ObjItem0"));
    PmrData again;
    readDocument(written, again);
    EXPECT_EQ(writeDocument(again), written);
}

TEST(LegacyItems, AFailedReadKeepsConvertedItemsOnly)
{
    const QByteArray bytes = DocumentBytes()
                                 .head(3)
                                 .newClass("ObjItem0Line").common(1, 1, 5, 5, 0).i32(2)
                                 .newClass("ObjItem0Rect").common(2, 2, 5, 5, 0)
                                 .classRef(2) // the line record's object, not a class
                                 .common(3, 3, 5, 5, 0)
                                 .tail();
    PmrData page;
    page.append(std::make_unique<ObjItemText>());
    page.setPattern(testPicture(6, 3));
    page.cardWidth = 80;
    EXPECT_THROW(readDocument(bytes, page), ArchiveError); // its message is pinned with the archive
    ASSERT_EQ(page.items().size(), 2u);
    EXPECT_EQ(page.items().front()->kind, ObjItem::KindLine);
    EXPECT_EQ(page.items().back()->kind, ObjItem::KindRect);
    EXPECT_EQ(page.items().back()->storedClass, QByteArray("ObjItem0Rect"));
    EXPECT_TRUE(page.pattern.isEmpty());
    EXPECT_EQ(page.cardWidth, 80); // not reached
}
