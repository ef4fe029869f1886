// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"
#include "app/CardEditorDlg.h"
#include "model/ViewScale.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetLayout.h"
#include "print/SheetProbe.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolPrintTest : public testsupport::TempDirTest {
protected:
    // A card printed into `out` of the temporary folder, its catalogue there too.
    Result print(const QString& out, const QStringList& options = {}, const QString& card = kSample)
    {
        return run(QStringList{u"print"_s, card, u"-o"_s, path(out), u"--appdir"_s, dir.path()} + options);
    }
};

TEST_F(PmrToolPrintTest, RenderMatchesTheEditorsCardPixelForPixel)
{
    CardFormatCatalog::instance() = CardFormatCatalog();
    CardEditorDlg dlg;
    {
        testsupport::MessageBoxScript boxes;
        ASSERT_TRUE(dlg.loadDocument(kSample));
    }
    QRect visible;
    const QImage editor = dlg.view().composeCard(nullptr, &visible);
    ASSERT_EQ(visible.size(), QSize(int(dlg.cardRect().width()), int(dlg.cardRect().height())));
    const QString dpi = QString::number(dlg.view().scale().current);
    ASSERT_EQ(run({u"render"_s, kSample, u"-o"_s, path(u"c.png"_s), u"--dpi"_s, dpi}).code, 0);
    const QImage rendered = QImage(path(u"c.png"_s)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), editor.size());
    EXPECT_TRUE(rendered == editor.convertToFormat(QImage::Format_RGB32)) << "pixels differ";

    // The default resolution is 300 pixels per inch: 91 x 55 mm.
    ASSERT_EQ(run({u"render"_s, kSample, u"-o"_s, path(u"d.png"_s)}).code, 0);
    EXPECT_EQ(QImage(path(u"d.png"_s)).size(), QSize(1075, 650));
}

TEST_F(PmrToolPrintTest, PrintToPngNamesTheSheetsAndTakesTheOptions)
{
    // Two copies from position 7: four cards on the first sheet, the second full.
    ASSERT_EQ(print(u"s.png"_s, {u"--dpi"_s, u"100"_s, u"--copies"_s, u"2"_s, u"--start"_s, u"7"_s, u"--adjust"_s, u"1,-1"_s}).code, 0);
    EXPECT_FALSE(QFile::exists(path(u"s.png"_s)));
    const QImage first(path(u"s-1.png"_s)), second(path(u"s-2.png"_s));
    ASSERT_EQ(second.size(), QSize(827, 1169)); // A4 at 100 ppi
    const print::SheetLayout l = print::SheetLayout::make(CardFormatCatalog().format(0), 100, {4, -4});
    EXPECT_EQ(first.pixel(int(l.x(1)) + 3, int(l.y(2)) + 3), qRgb(255, 255, 255)); // position 6
    EXPECT_NE(first.pixel(int(l.x(0)) + 3, int(l.y(3)) + 3), qRgb(255, 255, 255)); // position 7
    // "名刺10面 A4": 14 mm and 11 mm to the first card, moved 1 mm right and up.
    const int left = 55 + 4, top = 43 - 4;
    EXPECT_NE(second.pixel(left + 1, top + 1), qRgb(255, 255, 255));
    EXPECT_EQ(second.pixel(left - 2, top + 20), qRgb(255, 255, 255));

    const Result one = print(u"one.png"_s, {u"--dpi"_s, u"100"_s, u"--only-one"_s, u"--format"_s, u"名刺 8面 A4"_s});
    ASSERT_EQ(one.code, 0);
    EXPECT_TRUE(one.err.isEmpty()) << one.err.toStdString();
    const QImage image(path(u"one.png"_s));
    EXPECT_NE(image.pixel(59 + 10, 98 + 10), qRgb(255, 255, 255)); // 15 mm, 25 mm
    EXPECT_EQ(image.pixel(59 + 358 + 31 + 10, 98 + 10), qRgb(255, 255, 255)); // no second card
}

TEST_F(PmrToolPrintTest, PrintToPdfHasThePapersPagesAndWarnsOfOtherSizesAndFailedPictures)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"cardfmt"_s) && writeFile(path(u"cardfmt/p.cf"_s), "Post,100,148,80,50,1,2,10,10,0,5,\r\n")
                && writeFile(path(u"cardfmt/h.cf"_s), "Huge,3000,3000,3000,3000,1,1,0,0,0,0,\r\n"));
    const Result r = print(u"s.pdf"_s, {u"--format"_s, u"Post"_s, u"--copies"_s, u"3"_s});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"めいしサイズが えらんだ ようし と ちがうけど"_s)) << r.err.toStdString();
    // A 3 m card has no picture at 600 ppi: the sheets carry the text and the run fails.
    const Result huge = print(u"huge.pdf"_s, {u"--format"_s, u"Huge"_s, u"--copies"_s, u"2"_s});
    EXPECT_EQ(std::tuple(huge.code, huge.err.count(u"文字以外の描画に失敗しました"_s)), std::tuple(1, 1)) << huge.err.toStdString();
    EXPECT_GT(QFileInfo(path(u"huge.pdf"_s)).size(), 0);

    // The calibration sheet of the ten-up format: one A4 page.
    ASSERT_EQ(run({u"calibrate"_s, u"--appdir"_s, dir.path(), u"-o"_s, path(u"cal.pdf"_s), u"--format"_s, u"0"_s}).code, 0);

    SKIP_WITHOUT_POPPLER();
    const QString info = sheetprobe::tool(u"pdfinfo"_s, {path(u"s.pdf"_s)});
    EXPECT_TRUE(info.contains(u"Pages:           3"_s)) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(u"Title: +めいし-きっさてん\\.pmr\n"_s))) << info.toStdString();
    // 100 x 148 mm; Qt rounds page sizes to whole points.
    EXPECT_TRUE(info.contains(QRegularExpression(u"Page size: +28[34](\\.\\d+)? x 419(\\.\\d+)? pts"_s))) << info.toStdString();
    const QString calibration = sheetprobe::tool(u"pdfinfo"_s, {path(u"cal.pdf"_s)});
    EXPECT_TRUE(calibration.contains(QRegularExpression(u"Pages:\\s+1\\n"_s))) << calibration.toStdString();
    EXPECT_TRUE(calibration.contains(QRegularExpression(u"Page size:\\s+595(\\.\\d+)? x 84[12]"_s))) << calibration.toStdString();
}

TEST_F(PmrToolPrintTest, AMergedPrintStartsWhereAskedWithEachPersonsCopiesSideBySide)
{
    SKIP_WITHOUT_POPPLER();
    // 25 people twice from position 9: 2 + 4 × 10 + 8 cards on six sheets.
    const QString list = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-チーム.csv");
    ASSERT_EQ(print(u"team.pdf"_s, {u"--merge"_s, list, u"--start"_s, u"9"_s, u"--copies"_s, u"2"_s, u"--dpi"_s, u"150"_s}, kTeam).code, 0);
    const auto page = [this](int n) {
        const QString p = QString::number(n);
        return sheetprobe::tool(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, p, u"-l"_s, p, path(u"team.pdf"_s), u"-"_s});
    };
    EXPECT_EQ(std::tuple(page(1).count(u"山田 太郎"_s), page(1).contains(u"佐藤"_s), page(6).count(u"藤田 修"_s), page(7).isEmpty()),
              std::tuple(2, false, 2, true));
}

TEST_F(PmrToolPrintTest, AKilledPrintLeavesTheOldFileWhole)
{
    ASSERT_EQ(print(u"s.pdf"_s).code, 0);
    const QByteArray good = readFile(path(u"s.pdf"_s));
    QProcess p;
    p.start(QStringLiteral(PMRTOOL_PATH), {u"print"_s, kSample, u"-o"_s, path(u"s.pdf"_s), u"--copies"_s, u"9999"_s,
                                           u"--dpi"_s, u"100"_s, u"--appdir"_s, dir.path()});
    ASSERT_TRUE(p.waitForStarted());
    // Killed once it has written some pages: the system counts the bytes.
    const auto written = [&p] {
        static const QRegularExpression wchar(u"wchar: (\\d+)"_s);
        return wchar.match(QString::fromLatin1(readFile(u"/proc/%1/io"_s.arg(p.processId())))).captured(1).toLongLong();
    };
    for (int i = 0; i < 6000 && written() < 200000 && p.state() == QProcess::Running; ++i)
        QThread::msleep(10);
    ASSERT_GE(written(), 200000);
    p.kill();
    p.waitForFinished();
    EXPECT_EQ(readFile(path(u"s.pdf"_s)), good);
}

} // namespace
