#include "app/CardEditorDlg.h"
#include "model/ObjItemLine.h"
#include "model/ViewScale.h"
#include "print/CardFormatCatalog.h"
#include "resources/ControlIds.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class CardViewTest : public ::testing::Test {
protected:
    void SetUp() override { CardFormatCatalog::instance() = CardFormatCatalog(); }
    QScrollBar* bar(CardEditorDlg& dlg, int id) { return dlg.itemAs<QScrollBar>(id); }
};

TEST_F(CardViewTest, StartFitsTheCardWithTwentyPixelsToSpareThenZoomsInSteps)
{
    CardEditorDlg dlg;
    const QRect canvas = dlg.view().canvasRect();
    const platform::Rect& card = dlg.cardRect();
    const int marginX = card.left - canvas.left();
    const int marginY = card.top - canvas.top();
    // The tighter axis keeps about 20 pixels; centred on both.
    EXPECT_NEAR(std::min(marginX, marginY), 20, 2);
    EXPECT_LE(std::abs((canvas.right() + 1 - card.right) - marginX), 1);
    EXPECT_LE(std::abs((canvas.bottom() + 1 - card.bottom) - marginY), 1);
    EXPECT_EQ(dlg.view().scale().current, dlg.view().scale().fit);
    EXPECT_TRUE(bar(dlg, ctl::HScroll)->isHidden());
    EXPECT_TRUE(bar(dlg, ctl::VScroll)->isHidden());
    EXPECT_EQ(card.width(), dlg.view().scale().mmToDevice(91));

    // Zoom steps and their ends.
    const int fit = dlg.view().scale().fit;
    std::vector<int> up;
    while (dlg.ZoomStep(true))
        up.push_back(dlg.view().scale().current);
    EXPECT_EQ(up, (std::vector<int>{fit * 12 / 10, fit * 15 / 10, fit * 2, fit * 4, fit * 8}));
    EXPECT_FALSE(dlg.ZoomStep(true));
    dlg.view().scale().current = fit;
    std::vector<int> down;
    while (dlg.ZoomStep(false))
        down.push_back(dlg.view().scale().current);
    EXPECT_EQ(down, (std::vector<int>{fit * 8 / 10, fit * 5 / 10}));
    EXPECT_EQ(dlg.view().scale().fit, fit);
}

TEST_F(CardViewTest, ScrollBarsLeaveTwentyPixelsAndKeepTheirRelativePosition)
{
    CardEditorDlg dlg;
    const QRect canvas = dlg.view().canvasRect();
    dlg.ZoomStep(true);
    dlg.ZoomStep(true);
    dlg.ZoomStep(true); // 200 %
    dlg.LayoutCard(false);
    QScrollBar* h = bar(dlg, ctl::HScroll);
    ASSERT_FALSE(h->isHidden());
    // Centred first.
    EXPECT_LE(std::abs((dlg.cardRect().left - canvas.left()) - (canvas.right() + 1 - dlg.cardRect().right)), 1);

    dlg.view().scroll(Qt::Horizontal, SbThumbTrack, h->minimum());
    EXPECT_EQ(dlg.cardRect().left, canvas.left() + 20);
    dlg.view().scroll(Qt::Horizontal, SbThumbTrack, h->maximum());
    EXPECT_EQ(dlg.cardRect().right, canvas.right() + 1 - 20);

    // Requests: lines and pages move 10, top and bottom one pixel, end nothing.
    const int at = h->value();
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbLineUp), 10);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbPageUp), 10);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbTop), 1);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbBottom), -1);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbEndScroll), 0);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbPageDown), -10);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbLineDown), -10);
    EXPECT_EQ(h->value(), at);
    EXPECT_EQ(dlg.view().scroll(Qt::Horizontal, SbLineDown), 0); // already at the end
    EXPECT_EQ(h->value(), -dlg.cardRect().left);

    // Fully right stays fully right after zooming further; at 800 %, scrolled
    // away from the edges, composing costs the canvas, not the zoomed card.
    dlg.ZoomStep(true);
    dlg.LayoutCard(false);
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(dlg.cardRect().right, canvas.right() + 1 - 20);
    dlg.ZoomStep(true);
    dlg.LayoutCard(false);
    dlg.view().scroll(Qt::Horizontal, SbThumbTrack, h->maximum() / 2);
    QRect visible;
    EXPECT_EQ(dlg.view().composeCard(nullptr, &visible).size(), dlg.view().canvasFrameRect().size());
    EXPECT_EQ(visible, dlg.view().canvasFrameRect());

    // Back to a fitting size: bars hidden, card centred.
    dlg.view().scale().current = dlg.view().scale().fit;
    dlg.LayoutCard(false);
    EXPECT_TRUE(h->isHidden());
    EXPECT_LE(std::abs((dlg.cardRect().left - canvas.left()) - (canvas.right() + 1 - dlg.cardRect().right)), 1);
}

TEST_F(CardViewTest, SelectionMarksInvertWhatLiesUnderThem)
{
    CardEditorDlg dlg;
    const platform::Rect cardUnits = dlg.view().scale().toUnits(platform::Rect{0, 0, int(dlg.cardRect().width()), int(dlg.cardRect().height())});
    auto line = std::make_unique<ObjItemLine>(cardUnits, dlg.view().scale());
    line->width = 50; // a 5 mm black line: the marks lie on black
    const ObjItem* selected = line.get();
    dlg.page().append(std::move(line));

    QRect visible;
    const QImage plain = dlg.view().composeCard(nullptr, &visible);
    const QImage marked = dlg.view().composeCard(selected, &visible);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(visible.size(), plain.size());
    QPoint h;
    ASSERT_TRUE(selected->GetHandle(1, h));
    const QPoint d = dlg.view().scale().toDevice(h);
    // The outline of the mark square: white where it crosses the black line.
    EXPECT_EQ(plain.pixel(d.x() - 3, d.y()), 0xFF000000u);
    EXPECT_EQ(marked.pixel(d.x() - 3, d.y()), 0xFFFFFFFFu);
    // Off the line the mark is black on white; inside the square nothing changes.
    EXPECT_EQ(marked.pixel(d.x() + 3, d.y() - 3) , plain.pixel(d.x() + 3, d.y() - 3) ^ 0x00FFFFFFu);
    EXPECT_EQ(marked.pixel(d.x(), d.y() - 1), plain.pixel(d.x(), d.y() - 1));
}

} // namespace
