#include "TestSupport.h"
#include "ToolCommands.h"
#include "app/CardEditorDlg.h"
#include "model/ViewScale.h"
#include "print/CardFormatCatalog.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

int runTool(const QStringList& args, QString* err = nullptr)
{
    QString out, e;
    QTextStream o(&out), es(&e);
    const int code = pmrtool::run(args, o, es);
    es.flush();
    if (err)
        *err = e;
    return code;
}

const QString kSample = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-きっさてん.pmr");

class PmrToolPrintTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    const ViewScaleGuard guard;
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
    const int dpi = viewScale().current;

    ASSERT_EQ(runTool({QStringLiteral("render"), kSample, QStringLiteral("-o"), path(QStringLiteral("c.png")),
                       QStringLiteral("--dpi"), QString::number(dpi)}),
              0);
    const QImage rendered = QImage(path(QStringLiteral("c.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), editor.size());
    int differing = 0;
    for (int y = 0; y < editor.height(); ++y)
        for (int x = 0; x < editor.width(); ++x)
            differing += rendered.pixel(x, y) != editor.pixel(x, y);
    EXPECT_EQ(differing, 0);

    // The default resolution is 300 pixels per inch: 91 x 55 mm.
    ASSERT_EQ(runTool({QStringLiteral("render"), kSample, QStringLiteral("-o"), path(QStringLiteral("d.png"))}), 0);
    EXPECT_EQ(QImage(path(QStringLiteral("d.png"))).size(), QSize(1075, 650));
}

TEST_F(PmrToolPrintTest, PrintToPngPlacesCardsAndCountsCopies)
{
    const QString out = path(QStringLiteral("s.png"));
    ASSERT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), out, QStringLiteral("--dpi"),
                       QStringLiteral("100"), QStringLiteral("--copies"), QStringLiteral("2"),
                       QStringLiteral("--adjust"), QStringLiteral("1,-1"), QStringLiteral("--appdir"), dir.path()}),
              0);
    EXPECT_FALSE(QFile::exists(out));
    const QImage sheet(path(QStringLiteral("s-2.png")));
    ASSERT_EQ(sheet.size(), QSize(827, 1169)); // A4 at 100 ppi
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("s-1.png"))));
    // "名刺10面 A4": 14 mm and 11 mm to the first card, moved 1 mm right and up.
    const int left = 55 + 4, top = 43 - 4, width = 358, height = 217;
    const auto ink = [&](int x, int y) { return sheet.pixel(x, y) != qRgb(255, 255, 255); };
    EXPECT_TRUE(ink(left + 1, top + 1));
    EXPECT_FALSE(ink(left - 2, top + 20));
    EXPECT_TRUE(ink(left + width + 1, top + height + 1)); // second column, second row
    EXPECT_TRUE(ink(left + 1, top + 4 * height + 1));      // fifth row
    EXPECT_FALSE(ink(left + 1, top + 5 * height + 3));

    QString err;
    ASSERT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), path(QStringLiteral("one.png")),
                       QStringLiteral("--dpi"), QStringLiteral("100"), QStringLiteral("--only-one"),
                       QStringLiteral("--format"), QStringLiteral("名刺 8面 A4"), QStringLiteral("--appdir"), dir.path()},
                      &err),
              0);
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    const QImage one(path(QStringLiteral("one.png")));
    EXPECT_NE(one.pixel(59 + 10, 98 + 10), qRgb(255, 255, 255)); // 15 mm, 25 mm
    EXPECT_EQ(one.pixel(59 + 358 + 31 + 10, 98 + 10), qRgb(255, 255, 255)); // no second card
}

TEST_F(PmrToolPrintTest, PrintToPdfHasThePapersPagesAndWarnsOfOtherSizes)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cardfmt")));
    QFile f(path(QStringLiteral("cardfmt/post.cf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Post,100,148,80,50,1,2,10,10,0,5,\r\n");
    f.close();
    QString err;
    const QString pdf = path(QStringLiteral("s.pdf"));
    ASSERT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), pdf, QStringLiteral("--format"),
                       QStringLiteral("2"), QStringLiteral("--copies"), QStringLiteral("3"), QStringLiteral("--appdir"),
                       dir.path()},
                      &err),
              0);
    EXPECT_TRUE(err.contains(QStringLiteral("めいしサイズが えらんだ ようし と ちがうけど"))) << err.toStdString();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        GTEST_SKIP() << "pdfinfo is not available";
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Pages:           3"))) << text.toStdString();
    // 100 x 148 mm; Qt rounds page sizes to whole points.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Page size: +28[34](\\.\\d+)? x 419(\\.\\d+)? pts"))))
        << text.toStdString();

    EXPECT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), path(QStringLiteral("x.pdf")),
                       QStringLiteral("--format"), QStringLiteral("nope"), QStringLiteral("--appdir"), dir.path()}),
              2);
    EXPECT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), path(QStringLiteral("x.tif"))}), 2);
    EXPECT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), path(QStringLiteral("x.pdf")),
                       QStringLiteral("--adjust"), QStringLiteral("1")}),
              2);
    EXPECT_EQ(runTool({QStringLiteral("render"), kSample, QStringLiteral("-o"), path(QStringLiteral("x.png")),
                       QStringLiteral("--dpi"), QStringLiteral("0")}),
              2);
    EXPECT_EQ(runTool({QStringLiteral("print"), kSample, QStringLiteral("-o"), path(QStringLiteral("no/dir/x.pdf"))}), 1);
}

} // namespace
