// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetProbe.h"
#include "platform/AppSettings.h"
#include "platform/Fonts.h"
#include "platform/SettingsStore.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetLayout.h"
#include "printui/AdjustPrintDlg.h"
#include "printui/PrintProgressDlg.h"
#include "printui/SheetPreview.h"
#include "printui/SidesPanel.h"
#include "printui/TurnSheetsDlg.h"
#include "resources/Templates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using print::AdjustPrintDlg;
using print::PrintProgressDlg;
using print::SheetLayout;
using print::SheetPreview;
using namespace sheetprobe;
using namespace Qt::StringLiterals;

namespace {

// One print dialog answered with `answer` after `act`; returns what the boxes
// showed when it opened ("x y checked") and the dialog's onlyOne afterwards.
std::pair<QString, bool> answerDialog(const std::function<void(AdjustPrintDlg&)>& act, int answer)
{
    QString opened;
    const auto answering = testsupport::answerPrintDialog([&](AdjustPrintDlg& d) {
        opened = QStringLiteral("%1 %2 %3").arg(d.offsetXEdit()->text(), d.offsetYEdit()->text(),
                                                d.onlyOneBox()->isChecked() ? "checked" : "unchecked");
        act(d);
    }, answer);
    QPrinter printer;
    AdjustPrintDlg dlg(&printer);
    EXPECT_EQ(dlg.run(), answer);
    return {opened, dlg.onlyOne()};
}

// The positions (1-based) whose card shows its red corner in the widget as painted.
std::vector<int> shownPositions(SheetPreview& preview)
{
    const QImage shot = preview.grab().toImage();
    const QPoint paper = preview.paperRect().topLeft().toPoint();
    const SheetLayout l = SheetLayout::make(preview.job().format, preview.pixelsPerInch(), {});
    std::vector<int> found;
    for (int i = 0; i < l.columns * l.rows; ++i)
        if (isRed(shot.pixel(paper + QPoint(int(l.x(i % l.columns)) + 3, int(l.y(i / l.columns)) + 3))))
            found.push_back(i + 1);
    return found;
}

} // namespace

TEST(AdjustPrintDlg, ThePanelWidensTheStandardDialogOnItsRightAndItsPreviewFollowsTheBoxes)
{
    PmrData page;
    markCard(page);
    QPrinter printer;
    QPrintDialog plain(&printer);
    AdjustPrintDlg adjust(&printer);
    ASSERT_NE(adjust.panel(), nullptr);
    // No selection, no page numbers, no current page: whole sheets.
    for (const auto option : {QAbstractPrintDialog::PrintSelection, QAbstractPrintDialog::PrintPageRange,
                              QAbstractPrintDialog::PrintCurrentPage})
        EXPECT_FALSE(adjust.testOption(option)) << option;
    EXPECT_EQ(adjust.printRange(), QAbstractPrintDialog::AllPages);

    const platform::DialogSpec& panel = resources::dialogTemplate(resources::dlg::PrintAdjust);
    const ui::DialogUnits u = ui::DialogUnits::forFont(ui::dialogFont(panel));
    // The controls' width, then the sheet's preview.
    EXPECT_GT(adjust.panelWidth(), u.toPixelsX(panel.width) + 100);
    adjust.show();
    EXPECT_EQ(std::tuple(adjust.width(), adjust.panel()->geometry().left(), adjust.panel()->geometry().bottom() < adjust.height()),
              std::tuple(plain.sizeHint().width() + adjust.panelWidth(), plain.sizeHint().width(), true));
    // The controls keep their template places in the panel; a drop-down list is one line high.
    for (const platform::ControlSpec& c : panel.controls) {
        auto* moved = adjust.panel()->findChild<QWidget*>(QStringLiteral("ctrl%1").arg(c.id));
        QRect place = u.toPixels(c.x, c.y, c.w, c.h);
        if (moved && c.kind == platform::CtrlKind::ComboBox)
            place.setHeight(moved->height());
        EXPECT_TRUE(c.id == platform::kNoId || (moved && moved->isVisible() && moved->geometry() == place)) << c.id;
    }
    // The offset boxes are right-aligned and take a sign and whole millimetres only.
    const std::pair<const char*, const char*> filtered[] = {
        {"-1a.5", "-15"}, {"+2", "2"}, {"3-", "3"}, {"-12345", "-1234"}};
    for (QLineEdit* box : {adjust.offsetXEdit(), adjust.offsetYEdit()}) {
        EXPECT_TRUE(box->alignment() & Qt::AlignRight);
        for (const auto& [keys, text] : filtered) {
            box->clear();
            QTest::keyClicks(box, QString::fromUtf8(keys));
            EXPECT_EQ(box->text(), QString::fromUtf8(text)) << keys;
        }
    }

    ASSERT_NE(adjust.preview(), nullptr);
    // Before it is given a card the preview shows the current format, empty.
    EXPECT_EQ(adjust.preview()->job().format, CardFormatCatalog::instance().currentFormat());

    adjust.setPreviewJob(&page, {.format = CardFormatCatalog().format(0), .sheets = 2});
    // Signs and letters cannot be typed into the start box.
    for (const auto& [box, typed] : {std::pair{adjust.offsetXEdit(), "-3"}, {adjust.offsetYEdit(), "4"}, {adjust.startEdit(), "-7a"}}) {
        box->clear();
        QTest::keyClicks(box, QString::fromUtf8(typed));
    }
    QTest::mouseClick(adjust.onlyOneBox(), Qt::LeftButton);
    const print::SheetRenderer::Job& shown = adjust.preview()->job();
    EXPECT_EQ(std::tuple(shown.adjustX, shown.adjustY, shown.start, shown.onlyOne, shown.sheets),
              std::tuple(-3, 4, 7, true, 2));
    // The preview lies in the panel, right of its controls.
    const QRect place = adjust.preview()->geometry();
    EXPECT_TRUE(place.right() <= adjust.panelWidth() && place.left() >= adjust.onlyOneBox()->geometry().right());

    // The start is read when the dialog closes; an empty box is 1, in the preview too.
    const auto answering = testsupport::answerPrintDialog([](AdjustPrintDlg&) {}, QDialog::Accepted);
    for (const int start : {7, 1}) {
        adjust.run();
        EXPECT_EQ(std::pair(adjust.startPosition(), adjust.preview()->job().start), std::pair(start, start));
        adjust.startEdit()->clear();
    }
    EXPECT_EQ(AdjustPrintDlg(&printer).startEdit()->text(), QStringLiteral("1"));
    platform::appSettings().resetToDefaults();
}

TEST(PrintProgressDlg, TheBarFillsItsShareOfTheTotal)
{
    const QRect client(0, 0, 152, 18); // the inside is 150 × 16 at (1, 1)
    // 300 ÷ 7 truncated; past the total full; nothing of nothing empty.
    EXPECT_EQ(std::tuple(PrintProgressDlg::barRect(client, 2, 7), PrintProgressDlg::barRect(client, 99, 30),
                         PrintProgressDlg::barRect(client, 0, 0).isEmpty()),
              std::tuple(QRect(1, 1, 42, 16), QRect(1, 1, 150, 16), true));
    EXPECT_FALSE(PrintProgressDlg().windowFlags() & Qt::WindowSystemMenuHint) << "the job cannot be closed";
}

TEST(AdjustPrintDlg, OffsetsReadBackHoweverTheDialogClosesAndEachPrinterKeepsItsOwn)
{
    // That a cancelled dialog keeps the offsets too is pinned with each printer's offsets below.
    platform::AppSettings& settings = platform::appSettings();
    settings.setAdjustX(-3);
    settings.setAdjustY(-1);
    const auto clearYCheckOne = [](AdjustPrintDlg& d) {
        d.offsetYEdit()->clear();
        d.onlyOneBox()->setChecked(true);
    };
    EXPECT_EQ(answerDialog(clearYCheckOne, QDialog::Accepted), std::make_pair(QStringLiteral("-3 -1 unchecked"), true));
    EXPECT_EQ(settings.adjustY(), 0);
    EXPECT_EQ(answerDialog([](AdjustPrintDlg&) {}, QDialog::Accepted).first, QStringLiteral("-3 0 unchecked"));
    settings.resetToDefaults();

    const std::pair<const char*, int> texts[] = {
        {" 7 ", 7}, {"+5", 5}, {"", 0}, {"-", 0}, {"12abc", 0}, {"３", 0}, {"-2147483648", -2147483647 - 1},
        {"2147483647", 2147483647}, {"2147483648", 0}, {"99999999999999999999", 0},
    };
    for (const auto& [text, value] : texts)
        EXPECT_EQ(AdjustPrintDlg::readOffset(QString::fromUtf8(text)), value) << text;

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    auto store = platform::SettingsStore::fromFile(ini);
    settings.attachStore(store.get());
    settings.setAdjustX(2);
    settings.setAdjustY(-1);
    const QString office = QString::fromUtf8("じむしょ/2F プリンタ");
    const QString home = QStringLiteral("home");
    const struct {
        const char* what;
        QString printer;
        QString typed; // "x y", or nothing
        int answer;
        QPoint office, home;
    } steps[] = {
        {"offsets typed for a printer are kept under its name", office, "4 5", QDialog::Accepted, {4, 5}, {4, 5}},
        {"another printer, cancelled, keeps its own", home, "7 8", QDialog::Rejected, {4, 5}, {7, 8}},
        {"choosing the first printer again shows its offsets", office, {}, QDialog::Accepted, {4, 5}, {7, 8}},
    };
    for (const auto& s : steps) {
        answerDialog([&s](AdjustPrintDlg& d) {
            d.showPrinter(s.printer);
            if (!s.typed.isEmpty()) {
                d.offsetXEdit()->setText(s.typed.section(u' ', 0, 0));
                d.offsetYEdit()->setText(s.typed.section(u' ', 1, 1));
            }
        }, s.answer);
        EXPECT_EQ(std::pair(settings.printerAdjustment(office), settings.printerAdjustment(home)), std::pair(s.office, s.home)) << s.what;
    }
    // The global offsets are the last ones typed, and stay in their keys.
    // The slash in the name makes no group of its own.
    QSettings written(ini, QSettings::IniFormat);
    written.beginGroup(QStringLiteral("printers"));
    const auto groups = written.childGroups().size();
    written.endGroup();
    EXPECT_EQ(std::tuple(settings.adjustX(), settings.adjustY(), written.value(u"print/adj_x"_s).toInt(),
                         written.value(u"print/adj_y"_s).toInt(), groups),
              std::tuple(4, 5, 4, 5, 2));
    // The stored values come back.
    // The backs' offsets lie beside the fronts' and move nothing else.
    settings.setPrinterBackAdjustment(office, {-2, 3});
    settings.storeAdjustments();
    settings.resetToDefaults();
    settings.setAdjustX(3);
    settings.setBackAdjustment({1, 1});
    EXPECT_EQ((std::vector{settings.printerAdjustment(office), settings.printerAdjustment(u"never adjusted"_s),
                           settings.printerBackAdjustment(office), settings.printerBackAdjustment(u"never adjusted"_s)}),
              (std::vector{QPoint(4, 5), QPoint(3, 0), QPoint(-2, 3), QPoint(1, 1)}));

    // The dialog's own printer list shows the chosen printer's offsets.
    QPrinter printer;
    AdjustPrintDlg dlg(&printer);
    auto* printers = dlg.findChild<QComboBox*>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    Q_EMIT printers->currentTextChanged(office);
    EXPECT_EQ(dlg.offsetXEdit()->text() + u' ' + dlg.offsetYEdit()->text(), QStringLiteral("4 5"));
    settings.attachStore(nullptr);
    settings.resetToDefaults();
}

TEST(SheetPreview, ShowsThePositionsTheJobPrintsOnItsFirstSheet)
{
    platform::installFontSubstitutions();
    PmrData page;
    markCard(page);
    SheetPreview preview;
    preview.resize(170, 240);
    preview.setPage(&page);
    print::SheetRenderer::Job job{.format = CardFormatCatalog().format(0), .sheets = 3}; // 名刺10面 A4
    // Which positions those are is pinned by SheetPlan's tests.
    const std::tuple<int, bool, std::vector<int>> cases[] = {{7, false, {7, 8, 9, 10}}, {7, true, {7}}, {11, false, {}}};
    for (const auto& [start, onlyOne, shown] : cases) {
        std::tie(job.start, job.onlyOne) = std::tie(start, onlyOne);
        preview.setJob(job);
        EXPECT_EQ(shownPositions(preview), shown) << start << (onlyOne ? " only one" : "");
    }
    // The paper fits the widget whole, as large as a whole resolution allows.
    EXPECT_TRUE(QRectF(preview.rect()).contains(preview.paperRect()) && preview.paperRect().width() > 140);
}

TEST(AdjustPrintDlg, EachPrinterKeepsTheOffsetsOfItsBacks)
{
    platform::AppSettings& settings = platform::appSettings();
    settings.setBackAdjustment({1, 1});
    const QString office = QStringLiteral("office"), home = QStringLiteral("home");
    const struct {
        const char* what;
        QString printer;
        QString typed; // "x y", or nothing
        int answer;
        QString shown; // the back boxes as the printer is chosen
        QPoint office;
    } steps[] = {
        {"a printer never adjusted shows the backs' own offsets", office, "3 -4", QDialog::Accepted, "1 1", {3, -4}},
        {"another printer, cancelled, keeps its own", home, "7 8", QDialog::Rejected, "3 -4", {3, -4}},
        {"the first printer again shows its backs' offsets", office, {}, QDialog::Accepted, "3 -4", {3, -4}},
    };
    for (const auto& s : steps) {
        QString shown;
        answerDialog([&s, &shown](AdjustPrintDlg& d) {
            d.showPrinter(s.printer);
            print::SidesPanel& sides = *d.sidesPanel();
            shown = sides.backXEdit()->text() + u' ' + sides.backYEdit()->text();
            if (!s.typed.isEmpty()) {
                sides.backXEdit()->setText(s.typed.section(u' ', 0, 0));
                sides.backYEdit()->setText(s.typed.section(u' ', 1, 1));
            }
        }, s.answer);
        EXPECT_EQ(std::pair(shown, settings.printerBackAdjustment(office)), std::pair(s.shown, s.office)) << s.what;
    }
    // The fronts' offsets were not touched by the backs'.
    EXPECT_EQ(std::pair(settings.printerBackAdjustment(home), settings.printerAdjustment(office)), std::pair(QPoint(7, 8), QPoint(0, 0)));
    settings.resetToDefaults();
}

TEST(SheetPreview, ShowsTheBackBesideTheFrontAsTheSheetIsTurned)
{
    platform::installFontSubstitutions();
    PmrData page;
    markCard(page);
    markCard(page.ensureBack());
    SheetPreview preview;
    preview.resize(340, 240);
    preview.setPage(&page);
    print::SheetRenderer::Job job{.format = CardFormatCatalog().format(0), .start = 2, .sheets = 3}; // 名刺10面 A4
    preview.setJob(job);
    EXPECT_TRUE(preview.backSheet().isNull() && preview.backPaperRect().isEmpty()) << "the front alone";

    // The red corner of every back printed, where the turn puts it.
    const auto backPositions = [&preview](print::Flip flip) {
        const QImage shot = preview.grab().toImage();
        const QPoint paper = preview.backPaperRect().topLeft().toPoint();
        const SheetLayout l = SheetLayout::makeBack(preview.job().format, preview.pixelsPerInch(), {},
                                                    print::mirrorFor(flip, print::paperOf(preview.job().format)));
        std::vector<int> found;
        for (int i = 0; i < l.columns * l.rows; ++i)
            if (isRed(shot.pixel(paper + QPoint(int(l.x(i % l.columns)) + 3, int(l.y(i / l.columns)) + 3))))
                found.push_back(i + 1);
        return found;
    };
    const std::vector<int> fromTwo{2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (const auto sides : {print::Sides::Both, print::Sides::Back})
        for (const auto flip : {print::Flip::LongEdge, print::Flip::ShortEdge, print::Flip::Manual}) {
            std::tie(job.sides, job.flip) = std::tie(sides, flip);
            preview.setJob(job);
            EXPECT_EQ(backPositions(flip), fromTwo) << int(sides) << ' ' << int(flip);
            // Side by side, the same size, inside the widget.
            const QRectF front = preview.paperRect(), back = preview.backPaperRect();
            EXPECT_TRUE(front.right() < back.left() && front.size() == back.size() && QRectF(preview.rect()).contains(back));
        }
    EXPECT_EQ(shownPositions(preview), fromTwo) << "the front as before";
}

TEST(TurnSheetsDlg, ThePictureShowsTheMarkWhereTheTurnByHandPutsIt)
{
    // Over the long edge: left and right swap on an upright sheet, top and
    // bottom on a lying one.
    const std::pair<QSize, bool> cases[] = {{{210, 297}, true}, {{297, 210}, false}};
    for (const auto& [paper, rightTop] : cases) {
        print::TurnSheetsDlg dlg(paper);
        dlg.resize(dlg.sizeHint());
        const QImage shot = dlg.picture()->grab().toImage();
        const QRect back = dlg.picture()->sheetRect(true).toRect().adjusted(2, 4, -2, -2); // below the red top edge
        const auto redIn = [&shot](const QRect& r) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (isRed(shot.pixel(x, y)))
                        return true;
            return false;
        };
        const QPoint mid = back.center();
        EXPECT_EQ(std::pair(redIn(QRect(QPoint(mid.x(), back.top()), QPoint(back.right(), mid.y()))),
                            redIn(QRect(QPoint(back.left(), mid.y()), QPoint(mid.x(), back.bottom())))),
                  std::pair(rightTop, !rightTop)) << paper.width();
    }
}
