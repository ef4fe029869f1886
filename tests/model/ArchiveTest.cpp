// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBytes.h"

#include "model/Archive.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "resources/Strings.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>
#include <vector>

namespace ids = resources::ids;
using namespace Qt::StringLiterals;

namespace {

// The string id of the error f raises, or 0 when it runs through.
int errorOf(const std::function<void()>& f)
{
    const std::optional<ArchiveError> e = tryDocument(f);
    return e ? e->stringId() : 0;
}

// Two items, the first of them a rectangle.
DocumentBytes oneRect()
{
    return std::move(DocumentBytes().head(2).newClass("ObjItemRect").common(100, 200, 300, 300, 0xFF));
}

platform::LogFont boldFont()
{
    platform::LogFont f = ObjItemText::defaultFont();
    f.height = -18;
    f.weight = 700;
    f.faceName[31] = 'x'; // bytes after the terminator travel too
    return f;
}

} // namespace

// Documents read, checked and written back: to the same bytes, or to `written`.
TEST(ArchiveFixtures, DocumentsReadAndWriteBackByteForByte)
{
    const auto card = [](const QByteArray& cls, const char* storedText) {
        return DocumentBytes().head(1).newClass(cls).common(1, 2, 3, 4, 0).i32(0).i32(0).hex(storedText)
            .raw(ObjItemText::defaultFont().toByteArray()).tail();
    };
    const QByteArray yoshino = card("ObjItemText", "FFFEFF03" "42D8B7DFCE91"); // 𠮷野, kept wide
    const QByteArray cut = testPicture(20, 20).bytes().left(100);
    const auto textOf = [](const PmrData& p) { return static_cast<const ObjItemText&>(*p.items().front()); };
    const struct { const char* what; QByteArray bytes, written; std::function<void(const PmrData&)> check; } cases[] = {
        {"a red rectangle in 65 bytes",
         QByteArray::fromHex("01000000" "01000000" "FFFF01000B00" "4F626A4974656D52656374" "64000000C8000000"
                             "2C0100002C010000" "FF000000" "5B00000037000000" "00000000" "FFFFFF00" "64000000"),
         {}, [](const PmrData& p) {
             ASSERT_EQ(p.items().size(), 1u);
             const ObjItem& item = *p.items().front();
             EXPECT_EQ(std::tuple(item.kind, item.GetBounds(), item.color, p.cardWidth),
                       std::tuple(+ObjItem::KindRect, platform::Rect{100, 200, 400, 500}, 0xFFu, 91));
         }},
        {"an empty card in 28 bytes", DocumentBytes().head(0).tail(86, 54), {},
         [](const PmrData& p) { EXPECT_EQ(std::pair(p.cardWidth, p.cardHeight), std::pair(86, 54)); }},
        {"another marker and a negative count: no items", DocumentBytes().head(-3, 0xDEADBEEF).tail(86, 54, {}, 0x123456, 40),
         DocumentBytes().head(0).tail(86, 54, {}, 0x123456, 40), [](const PmrData& p) {
             EXPECT_EQ(std::tuple(p.items().empty(), p.pattern.isEmpty(), p.cardWidth, p.backColor, p.patternScale),
                       std::tuple(true, true, 86, 0x123456u, 40));
         }},
        {"a wide text CP932 holds is written back as CP932", card("ObjItemText", "FFFEFF02" "E5652C67"), // 日本
         card("ObjItemText", "04" "93FA967B"), {}},
        {"an older text class", card("ObjItem0Text", "FFFEFF03" "42D8B7DFCE91"), yoshino, {}},
        // Alignment, edge mode, shape and scale outside the editor's values, a text
        // size that was never measured, a card of no size, and a picture whose bytes
        // are shorter than its header needs.
        {"stored values are taken as they are",
         DocumentBytes().head(2)
             .newClass("ObjItemText").common(10, 20, 1, 2, 0xFF).text(7, -1, "", platform::LogFont{})
             .newClass("ObjItemBitmap").common(0, 0, 5, 5, 0).picture(20, 20, 3, 9, -3, cut)
             .tail(-5, 0, {}, 0xFF000000u, 0),
         {}, [&](const PmrData& p) {
             EXPECT_EQ(std::pair(textOf(p).align, textOf(p).cx), std::pair(7, 1));
             const auto& picture = static_cast<const ObjItemBitmap&>(*p.items().back());
             EXPECT_EQ(std::pair(picture.edgeMode, picture.dib.toImage().isNull()), std::pair(9, true));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PmrData page; // what a read replaces
        page.cardWidth = 1;
        page.append(std::make_unique<ObjItemRect>());
        page.setPattern(testPicture(2, 2));
        readDocument(c.bytes, page);
        if (c.check)
            c.check(page);
        EXPECT_EQ(writeDocument(page), c.written.isNull() ? c.bytes : c.written);
    }
}

// Length prefixes: a byte, FF and a word, or FF FFFF and a double word; FFFE FF
// and a length of UTF-16 units for texts CP932 cannot hold (a second FFFE is a length).
TEST(ArchiveStrings, TextsAndTheirLengthPrefixes)
{
    const auto of = [](int length) { return CardText(QByteArray(length, 'a')); };
    const auto wide = [](const QString& s) { return CardText::fromUnicode(s); };
    // 𠮷 is a surrogate pair (D842 DFB7) outside CP932; 髙 is an IBM extension.
    const std::tuple<CardText, QByteArray, bool> cases[] = {
        {of(0), QByteArray::fromHex("00"), true}, {of(254), QByteArray::fromHex("FE"), true},
        {of(255), QByteArray::fromHex("FFFF00"), true}, {of(0xFFFD), QByteArray::fromHex("FFFDFF"), true},
        {of(0xFFFE), QByteArray::fromHex("FFFFFFFEFF0000"), true}, {of(70000), QByteArray::fromHex("FFFFFF70110100"), true},
        {wide(u"𠮷野"_s), QByteArray::fromHex("FFFEFF03" "42D8B7DFCE91"), true},
        {wide(u"𠮷"_s.repeated(150)), QByteArray::fromHex("FFFEFFFF2C01") + QByteArray::fromHex("42D8B7DF").repeated(150), true},
        {wide(u"髙"_s), QByteArray::fromHex("02"), true}, // then its bytes FB FC
        {CardText(QByteArray(300, 'A')), QByteArray::fromHex("FFFEFFFF2C01") + QByteArray::fromHex("4100").repeated(300), false},
        {CardText(QByteArray(0xFFFE, '0')), QByteArray::fromHex("FFFEFFFFFEFF") + QByteArray::fromHex("3000").repeated(0xFFFE), false},
    };
    for (const auto& [text, bytes, written] : cases) {
        SCOPED_TRACE(text.storedSize());
        QByteArray out = bytes;
        if (written) { // the prefix, then a narrow text's bytes
            out.clear();
            Archive::storing(out).writeString(text);
            EXPECT_EQ(out, bytes + (text.isWide() ? QByteArray() : text.cp932()));
        }
        Archive in = Archive::loading(out);
        EXPECT_EQ(in.readString(), text);
        EXPECT_EQ(in.remaining(), 0);
    }
}

TEST(ArchiveRoundTrip, ClassIndicesFrom0x7FFFUseTheLongTag)
{
    // 32766 rectangles take indices 1..32767; the text class then takes 32768.
    PmrData page;
    for (int i = 0; i < 32766; ++i)
        page.append(std::make_unique<ObjItemRect>());
    page.append(std::make_unique<ObjItemText>());
    page.append(std::make_unique<ObjItemText>());
    const QByteArray bytes = writeDocument(page);
    const qsizetype firstText = 8 + (6 + 11 + 20) + 32765 * (2 + 20), secondText = firstText + 17 + 93;
    EXPECT_EQ(std::pair(bytes.mid(firstText, 6), bytes.mid(secondText, 6)),
              std::pair(QByteArray::fromHex("FFFF01000B00"), QByteArray::fromHex("FF7F00800080")));

    PmrData read;
    readDocument(bytes, read);
    EXPECT_EQ(std::pair(read.items().size(), read.items().back()->kind), std::pair(std::size_t(32768), +ObjItem::KindText));
}

TEST(ArchiveErrors, CraftedFilesGiveTheirMessages)
{
    const auto rect = [] { return DocumentBytes().head(1).newClass("ObjItemRect"); };
    const auto text = [] { return DocumentBytes().head(1).newClass("ObjItemText").common(0, 0, 1, 1, 0).i32(0).i32(0); };
    const auto named = [](const QByteArray& name, unsigned schema = 1) {
        return DocumentBytes().head(1).newClass(name, schema).common(0, 0, 0, 0, 0).tail();
    };
    const QByteArray tail = DocumentBytes().common(0, 0, 0, 0, 0).tail();
    const QByteArray junk(80, 'x');
    // Texts of the most stored bytes a text item holds, and a byte more.
    constexpr int kMax = int(ObjItemText::kMaxTextBytes);
    const QByteArray font = platform::LogFont{}.toByteArray(), longest(kMax, 'a');
    const std::pair<int, std::vector<QByteArray>> cases[] = {
        {0, {text().str(longest).raw(font).tail(), text().hex("FFFEFFFF").u16(kMax / 2).raw(longest).raw(font).tail(),
             oneRect().hex("FF7F01000080").raw(tail)}},
        {ids::ArchiveErrorEndOfFile,
         {{}, rect().common(1, 2, 3, 4, 0).bytes().chopped(1), text().str("ab").raw(font.left(30)), text().u8(10).raw("abc"),
          text().hex("FFFFFFFFFFFFFF").raw(junk), text().hex("FFFEFFFFFFFFFFFFFF").raw(junk),
          DocumentBytes().head(1).newClass("ObjItemBitmap").common(0, 0, 1, 1, 0).picture(2, 2, 0, 2, 0, "").bytes()
                  .chopped(4) + DocumentBytes().u32(100).raw(junk.left(10)),
          DocumentBytes().head(0).i32(91).i32(55).u32(0xFFFFFFFF).raw(junk), DocumentBytes().head(0).tail().bytes().chopped(4),
          DocumentBytes().head(0x7FFFFFFF).newClass("ObjItem").common(0, 0, 0, 0, 0)}},
        {ids::ArchiveErrorBadIndex,
         {DocumentBytes().head(1).hex("0080").raw(tail), oneRect().hex("0580").raw(tail), oneRect().hex("0280").raw(tail),
          oneRect().hex("FF7F02000080").raw(tail), DocumentBytes().head(1).u16(0).tail(), oneRect().hex("0200").tail(),
          oneRect().hex("FF7F02000000").tail(), oneRect().hex("0900").tail(),
          text().str(longest + 'a').raw(font).tail(),
          text().hex("FFFEFFFF").u16(kMax / 2 + 1).raw(longest + "aa").raw(font).tail()}},
        {ids::ArchiveErrorBadClass,
         {named(QByteArray(64, 'A')), DocumentBytes().head(1).u16(0xFFFF).u16(1).u16(11).raw("ObjItem"),
          named("ObjItemCircle"), named("objitemrect"), named(""), named("PmrData"), named("Circle", 2)}},
        {ids::ArchiveErrorBadSchema, {named("ObjItemRect", 2), named("ObjItemText", 0)}},
    };
    for (const auto& [error, files] : cases)
        for (const QByteArray& bytes : files) {
            PmrData page;
            EXPECT_EQ(errorOf([&] { readDocument(bytes, page); }), error) << "case " << (&bytes - files.data());
        }

    const QString path = QStringLiteral("/home/user/めいし.pmr");
    const std::pair<int, const char*> messages[] = {
        {ids::ArchiveErrorEndOfFile, "%1 の末尾以降にｱｸｾｽしようとしました。"},
        {ids::ArchiveErrorBadIndex, "%1 の形式が正しくありません。"},
        {ids::ArchiveErrorBadClass, "%1 は予期しないｵﾌﾞｼﾞｪｸﾄを含んでいます。"},
        {ids::ArchiveErrorBadSchema, "%1 は不正なｽｷｰﾏを含んでいます。"},
        {ids::ArchiveErrorGeneric, "%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。"},
        {ids::FileErrorDiskFull, "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"}};
    for (const auto& [id, message] : messages)
        EXPECT_EQ(std::pair(archiveErrorMessage(ArchiveError(id), path), archiveErrorIcon(ArchiveError(id))),
                  std::pair(QString::fromUtf8(message).arg(path), platform::MbIcon::Stop));
    EXPECT_EQ(std::pair(archiveErrorMessage(ArchiveError::outOfMemory(), path), archiveErrorIcon(ArchiveError::outOfMemory())),
              std::pair(QStringLiteral("ﾒﾓﾘが不足しています。"), platform::MbIcon::Exclamation));
}

TEST(ArchiveErrors, IndexCounterStopsAtItsLimitAndDevicesThatFailToWriteGiveTheirErrors)
{
    const QByteArray record = DocumentBytes().newClass("ObjItemRect").common(0, 0, 0, 0, 0).hex("0180");
    // The class takes the last index; its object would pass it.
    for (const auto next : {Archive::kMaxIndex, Archive::kMaxIndex - 1}) {
        Archive in = Archive::loading(record);
        in.setNextIndex(next);
        EXPECT_EQ(errorOf([&] { EXPECT_NE(in.readObject(), nullptr); }), next == Archive::kMaxIndex ? ids::ArchiveErrorBadIndex : 0);
    }

    QByteArray out;
    Archive writer = Archive::storing(out);
    writer.setNextIndex(Archive::kMaxIndex);
    EXPECT_THROW(writer.writeObject(ObjItemRect()), ArchiveError);

    QBuffer closed;
    EXPECT_EQ(errorOf([&] { writeDocument(PmrData(), closed); }), ids::FileErrorGeneric);
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(errorOf([&] { writeDocument(PmrData(), full); }), ids::FileErrorDiskFull);
}

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

    const std::pair<int, const char*> expected[] = {
        {ObjItem::KindRect, "ObjItem0Rect"}, {ObjItem::KindText, ""},  {ObjItem::KindRect, "ObjItem0Rect"},
        {ObjItem::KindText, "ObjItem0Text"}, {ObjItem::KindPicture, "ObjItem0Bitmap"}, {ObjItem::KindBase, "ObjItem0"},
        {ObjItem::KindLine, "ObjItem0Line"}, {ObjItem::KindText, ""},  {ObjItem::KindText, "ObjItem0Text"}};
    ASSERT_EQ(page.items().size(), std::size(expected));
    int x = 1;
    for (const auto& item : page.items()) {
        const auto [kind, stored] = expected[x - 1];
        const bool picture = kind == ObjItem::KindPicture;
        EXPECT_EQ(std::tuple(item->x, item->kind, item->storedClass, item->cx, item->color),
                  std::tuple(x, kind, QByteArray(stored), picture ? 60 : 10 * x, picture ? 0u : std::uint32_t(0x11 * x)))
            << x;
        ++x;
    }
    const auto at = [&](int i) { return std::next(page.items().begin(), i)->get(); };
    const auto& legacyText = dynamic_cast<const ObjItemText&>(*at(3));
    EXPECT_EQ(std::tuple(legacyText.font.toByteArray(), legacyText.align, legacyText.reserved, legacyText.GetText()),
              std::tuple(boldFont().toByteArray(), 2, 9, CardText("b")));
    const auto& legacyPicture = dynamic_cast<const ObjItemBitmap&>(*at(4)); // its reading object is gone
    EXPECT_EQ(std::tuple(legacyPicture.dib.bytes(), legacyPicture.whiteOut, legacyPicture.edgeMode, legacyPicture.shape),
              std::tuple(dib, 1, 1, 2));
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
    EXPECT_THROW(readDocument(bytes, page), ArchiveError);
    ASSERT_EQ(page.items().size(), 2u); // the pattern is cleared; the card size is not reached
    EXPECT_EQ(std::tuple(page.items().front()->kind, page.items().back()->kind, page.items().back()->storedClass,
                         page.pattern.isEmpty(), page.cardWidth),
              std::tuple(+ObjItem::KindLine, +ObjItem::KindRect, QByteArray("ObjItem0Rect"), true, 80));
}
