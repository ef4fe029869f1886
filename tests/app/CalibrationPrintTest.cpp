#include "TestSupport.h"
#include "app/CardEditorDlg.h"
#include "platform/AppSettings.h"
#include "platform/Fonts.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetProbe.h"
#include "printui/AdjustPrintDlg.h"
#include "resources/ControlIds.h"
#include "ui/PrintDialogs.h"

#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace sheetprobe;

namespace {

int px600(double mm) { return int(std::lround(mm * 600 / 25.4)); }

class CalibrationPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::installFontSubstitutions(); }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CardFormatCatalog::instance() = CardFormatCatalog();
        platform::appSettings().setAppDir(dir.path());
        platform::appSettings().resetToDefaults();
        dlg = std::make_unique<CardEditorDlg>();
        markCard(dlg->page());
    }
    void TearDown() override { ui::setPrintDialogProvider({}); }
    // The print command with the offsets typed and the calibration button pressed.
    void calibrate(const QString& pdf, const QString& x, const QString& y)
    {
        ui::setPrintDialogProvider([&](QPrintDialog& d) {
            auto& adjust = dynamic_cast<print::AdjustPrintDlg&>(d);
            adjust.offsetXEdit()->setText(x);
            adjust.offsetYEdit()->setText(y);
            adjust.calibrateButton()->click();
            d.printer()->setOutputFormat(QPrinter::PdfFormat);
            d.printer()->setOutputFileName(pdf);
            d.printer()->setResolution(600);
            return QDialog::Accepted;
        });
        dlg->itemAs<QPushButton>(ctl::Print)->click();
    }
    QTemporaryDir dir;
    std::unique_ptr<CardEditorDlg> dlg;
};

} // namespace

TEST_F(CalibrationPrintTest, TheButtonPrintsTheSheetWhereTheOffsetsDoNotMoveIt)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    testsupport::MessageBoxScript boxes;
    const QString pdf = dir.filePath(QStringLiteral("calibration.pdf"));
    calibrate(pdf, QStringLiteral("-3"), QStringLiteral("4"));
    EXPECT_TRUE(boxes.shown().empty());
    // The offsets were taken, yet the sheet ignores them.
    EXPECT_EQ(platform::appSettings().adjustX(), -3);
    EXPECT_EQ(platform::appSettings().adjustY(), 4);
    EXPECT_TRUE(tool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));

    // The first card's top-left corner of "名刺10面 A4": the ruler's -5, 0, +5 ticks
    // 1.5 mm above the corner, and the card's red mark absent.
    const QRect crop(0, 0, px600(40), px600(30));
    const QImage corner = rasterise(pdf, 1, 600, crop);
    ASSERT_FALSE(corner.isNull());
    const std::vector<int> ticks = starts(corner, px600(11 - 1.5), true, isDark);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[1], px600(14), 1);
    EXPECT_NEAR(ticks[2] - ticks[1], 118, 1);
    EXPECT_EQ(starts(corner, px600(14 - 1.5), false, isDark).size(), 3u);
    EXPECT_EQ(count(corner, corner.rect(), isRed), 0);
}
