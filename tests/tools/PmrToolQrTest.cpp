// SPDX-License-Identifier: GPL-3.0-or-later
#include "../QrRead.h"
#include "QrJson.h"
#include "ToolRun.h"
#include "print/SheetProbe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolQrTest : public testsupport::TempDirTest {
protected:
    // A card of pictures made from `codes`, each side units square, in rows of three.
    QString build(const std::vector<QrContent>& codes, int side, const QString& name = u"card"_s)
    {
        QJsonArray items{QJsonObject{{u"class"_s, u"ObjItemText"_s}, {u"text"_s, u"{{なまえ}}"_s}, {u"x"_s, 60}, {u"y"_s, 1450}}};
        for (std::size_t i = 0; i < codes.size(); ++i)
            items.append(QJsonObject{{u"class"_s, u"ObjItemBitmap"_s}, {u"x"_s, 60 + int(i % 3) * (side + 120)},
                                     {u"y"_s, 40 + int(i / 3) * (side + 60)}, {u"cx"_s, side}, {u"cy"_s, side},
                                     {u"qr"_s, pmrtool::qrToJson(codes[i])}});
        const QString json = file(name + u".json"_s, QJsonDocument(QJsonObject{{u"items"_s, items}}).toJson());
        EXPECT_EQ(run({u"build"_s, json, u"-o"_s, path(name + u".pmr"_s)}).code, 0);
        return path(name + u".pmr"_s);
    }
};

TEST_F(PmrToolQrTest, EveryKindAtLevelsLAndHReadsBackExactlyFromA600PpiPictureAndA300PpiPdfPage)
{
    SKIP_WITHOUT_POPPLER();
    const QrContent contact = QrContent::contact({u"山田 太郎"_s, u"やまだ たろう"_s, u"株式会社ぺるもら"_s, u"営業部, 部長"_s, u"03-1234-5678"_s,
                                                  {}, {}, u"taro@example.jp"_s, {}, u"東京都千代田区丸の内1-1-1"_s});
    std::vector<QrContent> codes;
    QStringList payloads;
    for (const QrContent::Level level : {QrContent::L, QrContent::H})
        for (QrContent c : {QrContent::url(u"https://example.jp/ぺるもら?a=1"_s), contact, QrContent::text(u"めいし; Pelmora 2026"_s)}) {
            c.level = level;
            codes.push_back(c);
            payloads << c.payload();
        }
    payloads.sort();
    EXPECT_TRUE(contact.payload().contains(u"\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\nX-PHONETIC-LAST-NAME:やまだ\r\n"_s)
                && contact.payload().contains(u"\r\nTITLE:営業部\\, 部長\r\n"_s)
                && contact.payload().contains(u"\r\nADR;TYPE=WORK:;;東京都千代田区丸の内1-1-1;;;;\r\n"_s));
    const QString card = build(codes, 700);

    ASSERT_EQ(run({u"render"_s, card, u"-o"_s, path(u"c.png"_s), u"--dpi"_s, u"600"_s}).code, 0);
    const QImage picture(path(u"c.png"_s));
    ASSERT_EQ(run({u"print"_s, card, u"-o"_s, path(u"s.pdf"_s)}).code, 0);
    const QImage page = sheetprobe::rasterise(path(u"s.pdf"_s), 1, 300, QRect(0, 0, 1300, 900)); // the first card
    for (const QImage& image : {picture, page}) {
        QStringList found = qrread::zxing(image);
        found.sort();
        EXPECT_EQ(found, payloads);
        const QString zbar = qrread::zbar(image);
        for (const QString& payload : payloads)
            EXPECT_EQ(zbar.count(payload + u'\n'), payloads.count(payload)) << payload.toStdString();
    }
}

TEST_F(PmrToolQrTest, InfoGivesTheCodesBackAndAListPrintsEachPersonsOwn)
{
    SKIP_WITHOUT_POPPLER();
    const QString card = build({QrContent::contact({u"{{なまえ}}"_s, u"{{よみ}}"_s})}, 567);
    const Result info = run({u"info"_s, card});
    ASSERT_EQ(run({u"build"_s, file(u"b.json"_s, info.out.toUtf8()), u"-o"_s, path(u"b.pmr"_s)}).code, 0);
    EXPECT_EQ(readFile(card), readFile(path(u"b.pmr"_s)));
    EXPECT_EQ(run({u"fields"_s, card}).out.simplified(), uR"({ "fields": [ "なまえ", "よみ" ] })"_s);

    const QString list = file(u"list.csv"_s, "なまえ,よみ\n山田 太郎,やまだ たろう\n佐藤 花子,さとう はなこ\n鈴木 一郎,すずき いちろう\n");
    ASSERT_EQ(run({u"print"_s, card, u"--merge"_s, list, u"-o"_s, path(u"s.pdf"_s)}).code, 0);
    QStringList read = qrread::zxing(sheetprobe::rasterise(path(u"s.pdf"_s), 1, 300, {}));
    ASSERT_EQ(read.size(), 3);
    for (const auto& [name, reading] : {std::pair(u"山田 太郎"_s, u"やまだ"_s), {u"佐藤 花子"_s, u"さとう"_s}, {u"鈴木 一郎"_s, u"すずき"_s}})
        EXPECT_EQ(read.filter(u"FN:"_s + name + u"\r\nX-PHONETIC-LAST-NAME:"_s + reading).size(), 1) << name.toStdString();
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
