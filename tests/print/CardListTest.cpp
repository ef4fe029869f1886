// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "platform/Codec.h"
#include "platform/VerticalText.h"
#include "print/CardFields.h"
#include "print/CardList.h"
#include "resources/Strings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using print::CardList;

namespace {

TEST(CardFields, AFieldIsTheNameBetweenTheInnermostBracesAndTheRestStaysAsWritten)
{
    const struct { QString text; QStringList fields; QString filled; /* each field as <name> */ } cases[] = {
        {u"{{なまえ}} さん"_s, {u"なまえ"_s}, u"<なまえ> さん"_s},
        {u"{{a}}{{b}}-{{a}}"_s, {u"a"_s, u"b"_s}, u"<a><b>-<a>"_s},
        {u"TEL {{ TEL }}"_s, {u"TEL"_s}, u"TEL <TEL>"_s},
        {u"{{}} {{ }} {{なし"_s, {}, u"{{}} {{ }} {{なし"_s},
        {u"{{{x}}} }}{{y"_s, {u"x"_s}, u"{<x>} }}{{y"_s},
        {u"{{}}x}} {{a}}}}"_s, {u"a"_s}, u"{{}}x}} <a>}}"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(print::textFields(c.text), c.fields);
        EXPECT_EQ(print::fillFields(c.text, [](const QString& n) { return u'<' + n + u'>'; }), c.filled);
    }
}

TEST(CardFields, TheFillerCopiesOnlyTheTextsWithKnownFields)
{
    PmrData page;
    for (const QString& t : {u"{{なまえ}}"_s, u"株式会社"_s, u"{{TEL}} / {{FAX}}"_s}) {
        auto item = std::make_unique<ObjItemText>();
        item->SetText(t);
        page.append(std::move(item));
    }
    EXPECT_EQ(print::cardFields(page), (QStringList{u"なまえ"_s, u"TEL"_s, u"FAX"_s}));
    const print::CardFiller filler(page, {u"TEL"_s, u"なまえ"_s, u"TEL"_s}); // the first TEL counts
    const print::CardTexts texts = filler.fill({u"03-1111"_s, u"𠮷田"_s, u"ignored"_s});
    EXPECT_EQ(texts.strings(), (QStringList{u"𠮷田"_s, u"株式会社"_s, u"03-1111 / {{FAX}}"_s}));
    ASSERT_EQ(texts.items().size(), 3u);
    EXPECT_NE(texts.items()[0], std::next(page.items().begin(), 0)->get());
    EXPECT_EQ(texts.items()[1], std::next(page.items().begin(), 1)->get());
    EXPECT_EQ(filler.fill({}).strings().front(), QString());
}

// A filled vertical text grows from its top-right corner, as one typed in.
TEST(CardFields, AFilledVerticalTextKeepsItsTopRightCorner)
{
    PmrData page;
    auto& item = static_cast<ObjItemText&>(**page.append(std::make_unique<ObjItemText>()));
    item.SetFont(platform::vertical::withVertical(item.GetFont(), true));
    item.SetText(u"{{なまえ}}"_s);
    item.x = 3000;
    ObjItemText typed = item;
    typed.SetText(u"山田太郎\r\n営業部"_s);
    const print::CardTexts texts = print::CardFiller(page, {u"なまえ"_s}).fill({u"山田太郎\r\n営業部"_s});
    EXPECT_EQ(texts.items().front()->GetBounds(), (platform::Rect{3000 - typed.cx, item.y, 3000, item.y + typed.cy}));
}

TEST(CardListRead, EncodingsAndQuotedFieldsWithCommasQuotesAndLineBreaks)
{
    const QString csv = u" なまえ ,やくしょく,TEL\r\n"
                        u"\"山田, 太郎\",\"営業部\r\n\"\"部長\"\"\",03\r\n"
                        u"\r\n"
                        u"鈴木, \"企画\n課\" ,\r\n"
                        u"佐藤 ｻﾄｳ\r\n"
                        u",,\r\n"_s;
    const struct { const char* name; QByteArray bytes; CardList::Encoding encoding; } cases[] = {
        {"UTF-8", csv.toUtf8(), CardList::Encoding::Utf8},
        {"UTF-8 with a BOM", "\xEF\xBB\xBF" + csv.toUtf8(), CardList::Encoding::Utf8Bom},
        {"CP932", platform::toCp932(csv), CardList::Encoding::Cp932},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CardList list = CardList::fromBytes(c.bytes);
        ASSERT_TRUE(list.ok()) << list.error().toStdString();
        EXPECT_EQ(list.encoding(), c.encoding);
        EXPECT_EQ(list.columns(), (QStringList{u"なまえ"_s, u"やくしょく"_s, u"TEL"_s}));
        ASSERT_EQ(list.rowCount(), 3);
        EXPECT_EQ(list.row(0), (QStringList{u"山田, 太郎"_s, u"営業部\r\n\"部長\""_s, u"03"_s}));
        EXPECT_EQ(list.row(1), (QStringList{u"鈴木"_s, u"企画\r\n課"_s, QString()}));
        EXPECT_EQ(list.row(2), (QStringList{u"佐藤 ｻﾄｳ"_s, QString(), QString()}));
    }
}

TEST(CardListRead, ErrorsSayWhatAndOnWhichLine)
{
    const QString longRow = QString(CardList::kMaxRowChars - 2, u'x');
    const struct { const char* name; QByteArray bytes; int id; int line; } cases[] = {
        {"nothing", "", resources::ids::ListEmpty, 0},
        {"columns only", "a,b\r\n\r\n , \r\n", resources::ids::ListEmpty, 0},
        {"a quote left open", "a,b\n1,2\n3,\"4\n5,6\n", resources::ids::ListQuoteNotClosed, 3},
        {"text after a closing quote", "a,b\n\"1\n2\",\"3\"x\n", resources::ids::ListTextAfterQuote, 3},
        {"more fields than columns", "a,b\n\"1\r\n\",2\n3,4,5,,\n", resources::ids::ListTooManyFields, 4},
        {"a row too long", "a\n1\n" + longRow.toUtf8() + "yyy\n", resources::ids::ListRowTooLong, 3},
        {"a quoted row too long", "a\n\"" + longRow.toUtf8() + "\n\n", resources::ids::ListRowTooLong, 2},
        {"UTF-8 with a stray byte", "なまえ,TEL\n山田,03\n鈴\xFF木,04\n", resources::ids::ListBadEncoding, 3},
        {"a byte CP932 has not", "a,b\n1,2\n\x82\xA0,\x80\n", resources::ids::ListBadEncoding, 3},
        {"a CP932 pair no character has", "a\r\n\x82\xA0\r\n\x85\x40\r\n", resources::ids::ListBadEncoding, 3},
        {"more rows than a list holds", "a\n" + QByteArray("1\n").repeated(CardList::kMaxRows + 1), resources::ids::ListTooManyRows, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CardList list = CardList::fromBytes(c.bytes);
        EXPECT_EQ(std::tuple(list.error(), list.errorLine(), list.rowCount()),
                  std::tuple(resources::formatString(c.id, QString::number(c.line)), c.line, 0));
    }
    EXPECT_TRUE(CardList::fromBytes("a\n" + longRow.toUtf8() + "yy").ok());
    EXPECT_EQ(CardList::read(u"/nonexistent/list.csv"_s).error(), u"ファイルが開けません"_s);
}

} // namespace
