// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetProbe.h"

#include "platform/Fonts.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetLayout.h"
#include "printui/AdjustPrintDlg.h"
#include "printui/SheetPreview.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

using namespace sheetprobe;
using print::SheetLayout;
using print::SheetPreview;

namespace {

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

TEST(SheetPreview, ShowsThePositionsTheJobPrintsOnItsFirstSheet)
{
    platform::installFontSubstitutions();
    PmrData page;
    markCard(page);
    SheetPreview preview;
    preview.resize(170, 240);
    preview.setPage(&page);
    print::SheetRenderer::Job job;
    job.format = CardFormatCatalog().format(0); // 名刺10面 A4
    job.sheets = 3;
    const struct {
        int start;
        bool onlyOne;
        std::vector<int> shown;
    } cases[] = {{1, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {7, false, {7, 8, 9, 10}}, {7, true, {7}}, {11, false, {}}};
    for (const auto& c : cases) {
        job.start = c.start;
        job.onlyOne = c.onlyOne;
        preview.setJob(job);
        EXPECT_EQ(shownPositions(preview), c.shown) << c.start << (c.onlyOne ? " only one" : "");
    }
    // The paper fits the widget whole, as large as a whole resolution allows.
    const QRectF paper = preview.paperRect();
    EXPECT_TRUE(QRectF(preview.rect()).contains(paper));
    EXPECT_GT(paper.width(), 140);

}

TEST(AdjustPrintDlg, ThePreviewFollowsTheBoxesAsTheyAreTyped)
{
    PmrData page;
    markCard(page);
    QPrinter printer;
    print::AdjustPrintDlg dlg(&printer);
    ASSERT_NE(dlg.preview(), nullptr);
    // Before it is given a card the preview shows the current format, empty.
    EXPECT_EQ(dlg.preview()->job().format, CardFormatCatalog::instance().currentFormat());

    print::SheetRenderer::Job job;
    job.format = CardFormatCatalog().format(0);
    job.sheets = 2;
    dlg.setPreviewJob(&page, job);
    dlg.offsetXEdit()->clear();
    QTest::keyClicks(dlg.offsetXEdit(), QStringLiteral("-3"));
    dlg.offsetYEdit()->clear();
    QTest::keyClicks(dlg.offsetYEdit(), QStringLiteral("4"));
    dlg.startEdit()->clear();
    QTest::keyClicks(dlg.startEdit(), QStringLiteral("7"));
    QTest::mouseClick(dlg.onlyOneBox(), Qt::LeftButton);
    const print::SheetRenderer::Job& shown = dlg.preview()->job();
    EXPECT_EQ(std::tuple(shown.adjustX, shown.adjustY, shown.start, shown.onlyOne, shown.sheets),
              std::tuple(-3, 4, 7, true, 2));
    dlg.startEdit()->clear();
    EXPECT_EQ(dlg.preview()->job().start, 1);
    // The preview lies in the panel, right of its controls.
    const QRect place = dlg.preview()->geometry();
    EXPECT_LE(place.right(), dlg.panelWidth());
    EXPECT_GE(place.left(), dlg.onlyOneBox()->geometry().right());
}
