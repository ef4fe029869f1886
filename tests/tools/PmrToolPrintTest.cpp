// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "ToolRun.h"
#include "app/CardEditorDlg.h"
#include "model/ViewScale.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetLayout.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

// Sheet placement itself is pinned by the print job's own tests; these pin the options.
class PmrToolPrintTest : public testsupport::TempDirTest {
protected:
    // The sample printed into `out` of the temporary folder, its catalogue there too.
    Result print(const QString& out, const QStringList& options = {})
    {
        return run(QStringList{u"print"_s, kSample, u"-o"_s, path(out), u"--appdir"_s, dir.path()} + options);
    }
    // A card format in the catalogue folder of the application directory.
    bool addFolderFormat(const char* line)
    {
        QDir(dir.path()).mkdir(u"cardfmt"_s);
        return writeFile(path(u"cardfmt/%1.cf"_s.arg(QString::fromLatin1(line).section(u',', 0, 0))), QByteArray(line) + "\r\n");
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

    // Beyond the last position: bad usage, nothing written.
    const Result far = print(u"far.png"_s, {u"--start"_s, u"11"_s});
    EXPECT_EQ(far.code, 2);
    EXPECT_TRUE(far.err.contains(u"はじめのいち は 1 から 10 までに してね"_s)) << far.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(u"far.png"_s)));
}

TEST_F(PmrToolPrintTest, PrintToPdfHasThePapersPagesAndWarnsOfOtherSizes)
{
    ASSERT_TRUE(addFolderFormat("Post,100,148,80,50,1,2,10,10,0,5,"));
    const Result r = print(u"s.pdf"_s, {u"--format"_s, u"2"_s, u"--copies"_s, u"3"_s});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"めいしサイズが えらんだ ようし と ちがうけど"_s)) << r.err.toStdString();

    // Unknown formats and outputs, half an adjustment, no resolution or position: usage errors; no folder: a file error.
    EXPECT_EQ(print(u"x.pdf"_s, {u"--format"_s, u"nope"_s}).code, 2);
    EXPECT_EQ(print(u"x.tif"_s).code, 2);
    EXPECT_EQ(print(u"x.pdf"_s, {u"--adjust"_s, u"1"_s}).code, 2);
    EXPECT_EQ(print(u"x.pdf"_s, {u"--start"_s, u"0"_s}).code, 2);
    EXPECT_EQ(run({u"render"_s, kSample, u"-o"_s, path(u"x.png"_s), u"--dpi"_s, u"0"_s}).code, 2);
    EXPECT_EQ(print(u"no/dir/x.pdf"_s).code, 1);

    const Result info = spawn({path(u"s.pdf"_s)}, QProcessEnvironment::systemEnvironment(), u"pdfinfo"_s);
    if (info.code != 0)
        GTEST_SKIP() << "pdfinfo is not available";
    EXPECT_TRUE(info.out.contains(u"Pages:           3"_s)) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QRegularExpression(u"Title: +めいし-きっさてん\\.pmr\n"_s))) << info.out.toStdString();
    // 100 x 148 mm; Qt rounds page sizes to whole points.
    EXPECT_TRUE(info.out.contains(QRegularExpression(u"Page size: +28[34](\\.\\d+)? x 419(\\.\\d+)? pts"_s)))
        << info.out.toStdString();
}

TEST_F(PmrToolPrintTest, PrintReportsACardPictureThatCannotBeMade)
{
    // A 3 m card has no picture at 600 ppi: the sheets carry the text and the run fails.
    ASSERT_TRUE(addFolderFormat("Huge,3000,3000,3000,3000,1,1,0,0,0,0,"));
    const Result r = print(u"s.pdf"_s, {u"--format"_s, u"Huge"_s, u"--copies"_s, u"2"_s});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(u"文字以外の描画に失敗しました"_s), 1) << r.err.toStdString();
    EXPECT_GT(QFileInfo(path(u"s.pdf"_s)).size(), 0);
}

TEST_F(PmrToolPrintTest, OutputsThatWouldLoseAFileAreRefusedAndTheOldFilesStay)
{
    // The document as card.pdf and behind links, the list behind a link, a card
    // too large to draw, and earlier outputs.
    ASSERT_TRUE(QFile::copy(kSample, path(u"card.pdf"_s)) && writeFile(path(u"list.csv"_s), "a\n1\n"));
    ASSERT_TRUE(QFile::link(u"card.pdf"_s, path(u"link.png"_s)) && QFile::link(u"card.pdf"_s, path(u"s-2.png"_s))
                && QFile::link(u"list.csv"_s, path(u"list.pdf"_s)));
    ASSERT_TRUE(writeFile(path(u"huge.json"_s), R"({"cardWidth": 2147483647, "cardHeight": 2147483647})"));
    ASSERT_EQ(run({u"build"_s, path(u"huge.json"_s), u"-o"_s, path(u"huge.pmr"_s)}).code, 0);
    ASSERT_TRUE(writeFile(path(u"old.pdf"_s), "old PDF") && writeFile(path(u"old.png"_s), "old PNG"));
    // Every file of the folder by its name and a digest of its bytes.
    const auto files = [&] {
        std::map<std::string, std::string> digests;
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
            digests[f.toStdString()] = QCryptographicHash::hash(readFile(path(f)), QCryptographicHash::Md5).toHex().toStdString();
        return digests;
    };
    const auto before = files();
    const struct {
        const char* args; // in the folder; print takes its catalogue from there
        int code;
        const char* says;
        int limitKiB = 0;
    } cases[] = {
        {"render card.pdf -o x.pmr", 2, "the output must end in .png"},
        {"render card.pdf -o link.png", 2, "the output link.png is also an input"},
        {"print card.pdf -o card.pdf", 2, "card.pdf is also an input"},
        {"print card.pdf --merge list.csv -o list.pdf", 2, "list.pdf is also an input"},
        {"print card.pdf -o s.png --copies 2", 2, "s-2.png is also an input"},
        {"render huge.pmr -o huge.png", 1, "2147483647 x 2147483647 mm is too large to draw"},
        {"print card.pdf -o old.pdf", 1, "old.pdf: the file is too large", 16},
        {"render card.pdf -o old.png", 1, "old.png: the file is too large", 16},
    };
    for (const auto& c : cases) {
        // The shell lets a write past the limit fail with EFBIG rather than kill.
        const QString args = QString::fromUtf8(c.args) + (c.args[0] == 'p' ? u" --appdir ."_s : QString());
        const QString command = u"trap '' XFSZ; ulimit -f %1; cd '%2' && exec '%3' %4"_s.arg(
            c.limitKiB ? QString::number(c.limitKiB) : u"unlimited"_s, dir.path(), QStringLiteral(PMRTOOL_PATH), args);
        const Result r = spawn({u"-c"_s, command}, QProcessEnvironment::systemEnvironment(), u"bash"_s);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << c.args << ": " << r.err.toStdString();
    }
    EXPECT_EQ(files(), before) << "nothing written, nothing left behind";
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
        QFile io(u"/proc/%1/io"_s.arg(p.processId()));
        static const QRegularExpression wchar(u"wchar: (\\d+)"_s);
        return io.open(QIODevice::ReadOnly) ? wchar.match(QString::fromLatin1(io.readAll())).captured(1).toLongLong() : 0;
    };
    for (int i = 0; i < 6000 && written() < 200000 && p.state() == QProcess::Running; ++i)
        QThread::msleep(10);
    ASSERT_GE(written(), 200000);
    p.kill();
    p.waitForFinished();
    EXPECT_EQ(readFile(path(u"s.pdf"_s)), good);
}

} // namespace
