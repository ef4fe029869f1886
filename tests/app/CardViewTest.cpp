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

TEST_F(CardViewTest, TheBarsOwnActionsAndDraggingMoveTheCard)
{
    CardEditorDlg dlg;
    const QRect canvas = dlg.view().canvasRect();
    dlg.view().scale().current = dlg.view().scale().fit * 2;
    dlg.LayoutCard(false);
    for (const bool across : {true, false}) {
        SCOPED_TRACE(across ? "horizontal" : "vertical");
        QScrollBar* b = bar(dlg, across ? ctl::HScroll : ctl::VScroll);
        ASSERT_FALSE(b->isHidden());
        const auto start = [&] { return across ? dlg.cardRect().left : dlg.cardRect().top; };
        const auto end = [&] { return across ? dlg.cardRect().right : dlg.cardRect().bottom; };
        // Lines and pages move 10 pixels, the ends one.
        const std::pair<QAbstractSlider::SliderAction, int> moves[] = {
            {QAbstractSlider::SliderSingleStepAdd, -10}, {QAbstractSlider::SliderPageStepAdd, -10},
            {QAbstractSlider::SliderToMaximum, -1},      {QAbstractSlider::SliderSingleStepSub, 10},
            {QAbstractSlider::SliderPageStepSub, 10},    {QAbstractSlider::SliderToMinimum, 1}};
        for (const auto& [action, moved] : moves) {
            const int before = start();
            b->triggerAction(action);
            EXPECT_EQ(start() - before, moved) << action;
            EXPECT_EQ(b->value(), -start());
            EXPECT_EQ(b->sliderPosition(), b->value());
        }
        // Dragged to either end, 20 pixels of canvas show beyond the card.
        b->setSliderDown(true);
        b->setSliderPosition(b->minimum());
        EXPECT_EQ(start(), (across ? canvas.left() : canvas.top()) + 20);
        b->setSliderPosition(b->maximum());
        EXPECT_EQ(end(), (across ? canvas.right() : canvas.bottom()) + 1 - 20);
        b->setSliderDown(false);
        b->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(b->value(), b->maximum());
    }
}

TEST_F(CardViewTest, ZoomingKeepsTheRelativeScrollPositionAndFittingHidesTheBars)
{
    CardEditorDlg dlg;
    const QRect canvas = dlg.view().canvasRect();
    const int fit = dlg.view().scale().fit;
    QScrollBar* h = bar(dlg, ctl::HScroll);
    const auto zoomTo = [&](int tenths) {
        dlg.view().scale().current = fit * tenths / 10;
        dlg.LayoutCard(false);
    };
    zoomTo(20);
    ASSERT_FALSE(h->isHidden());
    EXPECT_LE(std::abs((dlg.cardRect().left - canvas.left()) - (canvas.right() + 1 - dlg.cardRect().right)), 1);

    // From the end, one past the start and a third of the way, 200 % to 400 %: the
    // distance from the end keeps its share of the range, truncated toward zero.
    const int min = -canvas.left() - 20, max200 = h->maximum();
    const int max400 = ViewScale::at(fit * 4).mmToDevice(91) - canvas.width() - canvas.left() + 20;
    EXPECT_EQ(h->minimum(), min);
    for (const int from : {max200, min + 1, min + (max200 - min) / 3}) {
        SCOPED_TRACE(from);
        zoomTo(20);
        dlg.view().scroll(Qt::Horizontal, SbThumbTrack, from);
        zoomTo(40);
        EXPECT_EQ(h->minimum(), min);
        EXPECT_EQ(h->maximum(), max400);
        EXPECT_EQ(h->value(), int(max400 - double(max200 - from) * (max400 - min) / (max200 - min)));
        EXPECT_EQ(dlg.cardRect().left, -h->value());
    }

    // At 800 %, away from the edges, composing costs the canvas, not the zoomed card.
    zoomTo(80);
    QRect visible;
    EXPECT_EQ(dlg.view().composeCard(nullptr, &visible).size(), dlg.view().canvasFrameRect().size());
    EXPECT_EQ(visible, dlg.view().canvasFrameRect());

    // Back to a fitting size: bars hidden, card centred.
    zoomTo(10);
    EXPECT_TRUE(h->isHidden());
    EXPECT_TRUE(bar(dlg, ctl::VScroll)->isHidden());
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
