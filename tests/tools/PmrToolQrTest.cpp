// SPDX-License-Identifier: GPL-3.0-or-later
#include "../QrRead.h"
#include "ToolRun.h"
#include "print/SheetProbe.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolQrTest : public testsupport::TempDirTest {};

// A card with a contact code filled from the list and a fixed web address.
constexpr char kCard[] = R"({"cardWidth": 91, "cardHeight": 55, "items": [
  {"class": "ObjItemText", "text": "{{なまえ}}", "x": 100, "y": 100},
  {"class": "ObjItemBitmap", "x": 1500, "y": 400, "cx": 567, "cy": 567, "color": 4210752,
   "qr": {"kind": "contact", "contact": {"name": "{{なまえ}}", "reading": "{{よみ}}", "address": "東京都千代田区丸の内1-1"}}},
  {"class": "ObjItemBitmap", "x": 200, "y": 700, "cx": 500, "cy": 500, "qr": {"kind": "url", "level": "H", "text": "https://example.jp/"}}]})";

TEST_F(PmrToolQrTest, BuildMakesTheCodesInfoGivesThemBackAndAListPrintsOneCodePerPerson)
{
    SKIP_WITHOUT_POPPLER();
    ASSERT_TRUE(writeFile(path(u"card.json"_s), kCard));
    ASSERT_EQ(run({u"build"_s, path(u"card.json"_s), u"-o"_s, path(u"a.pmr"_s)}).code, 0);
    const Result info = run({u"info"_s, path(u"a.pmr"_s)});
    ASSERT_TRUE(writeFile(path(u"b.json"_s), info.out.toUtf8()));
    ASSERT_EQ(run({u"build"_s, path(u"b.json"_s), u"-o"_s, path(u"b.pmr"_s)}).code, 0);
    EXPECT_EQ(readFile(path(u"a.pmr"_s)), readFile(path(u"b.pmr"_s)));
    const QJsonObject code = QJsonDocument::fromJson(info.out.toUtf8())["items"][1]["qr"].toObject();
    EXPECT_EQ(std::tuple(code["kind"].toString(), code["level"].toString(), code["contact"]["reading"].toString()),
              std::tuple(u"contact"_s, u"M"_s, u"{{よみ}}"_s));
    EXPECT_EQ(run({u"fields"_s, path(u"a.pmr"_s)}).out.simplified(), uR"({ "fields": [ "なまえ", "よみ" ] })"_s);

    ASSERT_TRUE(writeFile(path(u"list.csv"_s), "なまえ,よみ\n山田 太郎,やまだ たろう\n佐藤 花子,さとう はなこ\n鈴木 一郎,すずき いちろう\n"));
    ASSERT_EQ(run({u"print"_s, path(u"a.pmr"_s), u"--merge"_s, path(u"list.csv"_s), u"-o"_s, path(u"s.pdf"_s)}).code, 0);
    const QImage sheet = sheetprobe::rasterise(path(u"s.pdf"_s), 1, 300, {});
    QStringList read = qrread::zxing(sheet);
    read.sort();
    ASSERT_EQ(read.size(), 6) << read.join(u"|"_s).toStdString();
    EXPECT_EQ(read.filter(u"https://example.jp/"_s).size(), 3);
    for (const auto& [name, reading] : {std::pair(u"山田 太郎"_s, u"やまだ"_s), {u"佐藤 花子"_s, u"さとう"_s}, {u"鈴木 一郎"_s, u"すずき"_s}}) {
        const QStringList mine = read.filter(u"FN:"_s + name);
        ASSERT_EQ(mine.size(), 1) << name.toStdString();
        EXPECT_TRUE(mine[0].contains(u"X-PHONETIC-LAST-NAME:"_s + reading) && mine[0].contains(u"ADR;TYPE=WORK:;;東京都千代田区丸の内1-1;;;;"_s));
    }
    EXPECT_EQ(qrread::zbar(sheet).join(QString()).count(u"BEGIN:VCARD"_s), 3);
}

TEST_F(PmrToolQrTest, BadCodesAreRefusedWithTheReason)
{
    for (const auto& [qr, reason] : {std::pair(u"{\"kind\": \"sms\", \"text\": \"a\"}"_s, u"must be url, contact or text"_s),
                                     {u"{\"text\": \"a\", \"level\": \"X\"}"_s, u"must be L, M, Q or H"_s},
                                     {u"{\"text\": \"%1\", \"level\": \"H\"}"_s.arg(QString(3000, u'x')), u"more than a QR code can carry"_s}}) {
        ASSERT_TRUE(writeFile(path(u"c.json"_s), (uR"({"items": [{"class": "ObjItemBitmap", "qr": )"_s + qr + u"}]}"_s).toUtf8()));
        const Result r = run({u"build"_s, path(u"c.json"_s), u"-o"_s, path(u"c.pmr"_s)});
        EXPECT_TRUE(r.code == 1 && r.err.contains(reason)) << r.err.toStdString();
    }
}

} // namespace
