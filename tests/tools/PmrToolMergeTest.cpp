// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"
#include "print/SheetProbe.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

const QString kTeam = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-チーム.pmr");
const QString kTeamList = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-チーム.csv");

TEST(PmrToolMerge, FieldsAndAPrintFromTheStartWithEachPersonsCopiesSideBySide)
{
    const Result fields = run({u"fields"_s, kTeam});
    ASSERT_EQ(fields.code, 0);
    EXPECT_EQ(fields.out.simplified(), u"{ \"fields\": [ \"やくしょく\", \"なまえ\", \"TEL\", \"メール\" ] }"_s);
    if (!sheetprobe::hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"team.pdf"_s);
    // 25 people twice from position 9: 2 + 4 × 10 + 8 cards on six sheets.
    ASSERT_EQ(run({u"print"_s, kTeam, u"--merge"_s, kTeamList, u"-o"_s, pdf, u"--start"_s, u"9"_s, u"--copies"_s, u"2"_s,
                   u"--dpi"_s, u"150"_s, u"--appdir"_s, dir.path()}).code,
              0);
    const auto page = [&pdf](int n) {
        return sheetprobe::tool(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, QString::number(n), u"-l"_s, QString::number(n), pdf, u"-"_s});
    };
    EXPECT_EQ(page(1).count(u"山田 太郎"_s), 2);
    EXPECT_EQ(page(1).count(u"営業部, 部長"_s), 2);
    EXPECT_FALSE(page(1).contains(u"佐藤"_s));
    EXPECT_EQ(page(2).count(u"伊藤 さくら"_s), 2);
    EXPECT_EQ(page(6).count(u"藤田 修"_s), 2);
    EXPECT_TRUE(page(7).isEmpty());
}

TEST(PmrToolMerge, ListErrorsNameTheProblemAndPrintNothing)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(u"list.csv"_s), pdf = dir.filePath(u"out.pdf"_s);
    const struct {
        QByteArray csv;
        QString message;
    } cases[] = {
        {"なまえ,TEL\n山田,03\n", u"リストに 「やくしょく」「メール」 の こうもくが ないよ"_s},
        {"なまえ,やくしょく,TEL,メール\n\"山田,1,2,3\n", u"リストの 2 ぎょうめ の \" が とじてないよ"_s},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFile(csv, c.csv));
        const Result r = run({u"print"_s, kTeam, u"--merge"_s, csv, u"-o"_s, pdf});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, csv + u": "_s + c.message + u'\n');
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

} // namespace
