// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include <functional>
#include <tuple>

namespace {

class CardViewTest : public EditorTest {
protected:
    QScrollBar* bar(int id) { return dlg->itemAs<QScrollBar>(id); }
    ViewScale& scale() { return dlg->view().scale(); }
};

TEST_F(CardViewTest, StartFitsTheCardThenZoomsInStepsKeepingTheRelativeScrollPosition)
{
    const QRect canvas = dlg->view().canvasRect();
    const platform::Rect& card = dlg->cardRect();
    const int marginX = card.left - canvas.left();
    const int marginY = card.top - canvas.top();
    // The tighter axis keeps about 20 pixels; centred on both.
    EXPECT_NEAR(std::min(marginX, marginY), 20, 2);
    EXPECT_LE(std::max(std::abs((canvas.right() + 1 - card.right) - marginX), std::abs((canvas.bottom() + 1 - card.bottom) - marginY)), 1);
    EXPECT_EQ(std::tuple(scale().current, bar(ctl::HScroll)->isHidden() && bar(ctl::VScroll)->isHidden(), card.width()),
              std::tuple(scale().fit, true, std::int64_t(scale().mmToDevice(91))));

    const int fit = scale().fit;
    const auto steps = [&](bool up) {
        std::vector<int> seen;
        while (dlg->view().zoomStep(up))
            seen.push_back(scale().current);
        return seen;
    };
    EXPECT_EQ(steps(true), (std::vector<int>{fit * 12 / 10, fit * 15 / 10, fit * 2, fit * 4, fit * 8}));
    scale().current = fit;
    EXPECT_EQ(steps(false), (std::vector<int>{fit * 8 / 10, fit * 5 / 10}));

    // Zooming keeps the relative scroll position; fitting hides the bars again.
    QScrollBar* h = bar(ctl::HScroll);
    const auto zoomTo = [&](int tenths) {
        scale().current = fit * tenths / 10;
        dlg->LayoutCard(false);
    };
    const auto centred = [&] { return std::abs((dlg->cardRect().left - canvas.left()) - (canvas.right() + 1 - dlg->cardRect().right)) <= 1; };
    zoomTo(20);
    ASSERT_FALSE(h->isHidden());
    EXPECT_TRUE(centred());

    // From the end, one past the start and a third of the way, 200 % to 400 %: the
    // distance from the end keeps its share of the range, truncated toward zero.
    const int min = -canvas.left() - 20, max200 = h->maximum();
    const int max400 = ViewScale::at(fit * 4).mmToDevice(91) - canvas.width() - canvas.left() + 20;
    for (const int from : {max200, min + 1, min + (max200 - min) / 3}) {
        SCOPED_TRACE(from);
        zoomTo(20);
        dlg->view().scroll(Qt::Horizontal, SbThumbTrack, from);
        zoomTo(40);
        const int value = int(max400 - double(max200 - from) * (max400 - min) / (max200 - min));
        EXPECT_EQ(std::tuple(h->minimum(), h->maximum(), h->value(), dlg->cardRect().left), std::tuple(min, max400, value, -value));
    }

    // At 800 %, away from the edges, composing costs the canvas, not the zoomed card.
    zoomTo(80);
    QRect visible;
    EXPECT_EQ(std::pair(dlg->view().composeCard(nullptr, &visible).size(), visible),
              std::pair(dlg->view().canvasFrameRect().size(), dlg->view().canvasFrameRect()));

    zoomTo(10);
    EXPECT_TRUE(h->isHidden() && bar(ctl::VScroll)->isHidden() && centred());
}

TEST_F(CardViewTest, TheBarsOwnActionsAndDraggingMoveTheCard)
{
    const QRect canvas = dlg->view().canvasRect();
    scale().current = scale().fit * 2;
    dlg->LayoutCard(false);
    for (const bool across : {true, false}) {
        SCOPED_TRACE(across ? "horizontal" : "vertical");
        QScrollBar* b = bar(across ? ctl::HScroll : ctl::VScroll);
        ASSERT_FALSE(b->isHidden());
        const auto start = [&] { return across ? dlg->cardRect().left : dlg->cardRect().top; };
        // Lines and pages move 10 pixels, the ends one.
        const std::pair<QAbstractSlider::SliderAction, int> moves[] = {
            {QAbstractSlider::SliderSingleStepAdd, -10}, {QAbstractSlider::SliderPageStepAdd, -10},
            {QAbstractSlider::SliderToMaximum, -1},      {QAbstractSlider::SliderSingleStepSub, 10},
            {QAbstractSlider::SliderPageStepSub, 10},    {QAbstractSlider::SliderToMinimum, 1}};
        for (const auto& [action, moved] : moves) {
            const int before = start();
            b->triggerAction(action);
            EXPECT_EQ(std::tuple(start() - before, b->value(), b->sliderPosition()), std::tuple(moved, -start(), -start())) << action;
        }
        // Dragged to either end, 20 pixels of canvas show beyond the card.
        b->setSliderDown(true);
        b->setSliderPosition(b->minimum());
        EXPECT_EQ(start(), (across ? canvas.left() : canvas.top()) + 20);
        b->setSliderPosition(b->maximum());
        EXPECT_EQ(across ? dlg->cardRect().right : dlg->cardRect().bottom, (across ? canvas.right() : canvas.bottom()) + 1 - 20);
        b->setSliderDown(false);
        b->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(b->value(), b->maximum());
    }
}

TEST_F(CardViewTest, SelectionMarksInvertWhatLiesUnderThem)
{
    auto line = std::make_unique<ObjItemLine>(dlg->cardUnits(), scale());
    line->width = 50; // a 5 mm black line: the marks lie on black
    const ObjItem* selected = dlg->page().append(std::move(line))->get();

    QRect visible;
    const QImage plain = dlg->view().composeCard(nullptr, &visible);
    const QImage marked = dlg->view().composeCard(selected, &visible);
    ASSERT_FALSE(plain.isNull());
    QPoint h;
    ASSERT_TRUE(selected->GetHandle(1, h));
    const QPoint d = scale().toDevice(h);
    // The outline of the mark square: white where it crosses the black line.
    EXPECT_EQ(std::pair(plain.pixel(d.x() - 3, d.y()), marked.pixel(d.x() - 3, d.y())), std::pair(0xFF000000u, 0xFFFFFFFFu));
    // Off the line the mark is black on white; inside the square nothing changes.
    EXPECT_EQ(std::pair(marked.pixel(d.x() + 3, d.y() - 3), marked.pixel(d.x(), d.y() - 1)),
              std::pair(plain.pixel(d.x() + 3, d.y() - 3) ^ 0x00FFFFFFu, plain.pixel(d.x(), d.y() - 1)));
}

TEST_F(CardViewTest, TextIsHitBeforeLaterItemsAndLaterBeforeEarlier)
{
    ObjItem* t = add<ObjItemText>(200, 200);
    ObjItem* under = add(100, 100, 800, 800);
    ObjItem* over = add(150, 150, 800, 800);
    add(0, 0, 2000, 2000, std::make_unique<ObjItemBitmap>(dlg->cardUnits(), testPicture(4, 4)));

    drag(at({210, 210}));
    EXPECT_EQ(std::pair(dlg->selectedItem(), dlg->panelKind()), (std::pair<const ObjItem*, int>(t, ObjItem::KindText)));
    drag(at({700, 700}));
    EXPECT_EQ(dlg->selectedItem()->kind, ObjItem::KindPicture);
    dlg->page().items().pop_back();
    dlg->selection().clear();
    drag(at({700, 700}));
    EXPECT_EQ(dlg->selectedItem(), over);
    drag(at({120, 120}));
    EXPECT_EQ(dlg->selectedItem(), under);
}

TEST_F(CardViewTest, ClicksMarkTheCardOnlyWhenTheyDeselectAndDragsWhenTheyMove)
{
    ObjItem* r = add(300, 300, 500, 500);
    const QPoint p = at({400, 400});
    // Selecting refreshes the panel when the drag starts, which does not mark the card.
    drag(p);
    EXPECT_EQ(std::pair(dlg->selectedItem(), dlg->panelKind()), (std::pair<const ObjItem*, int>(r, ObjItem::KindRect)));
    drag(p);
    EXPECT_FALSE(dlg->isModified());
    drag(p, {p + QPoint(4, 0), p + QPoint(8, 2)});
    EXPECT_EQ(std::pair(r->x, dlg->isModified()), std::pair(300 + 2 * scale().toUnits(4), true));
    // Empty canvas with a selection: deselects, background panel, modified.
    dlg->document().markSaved();
    drag(at({2000, 1400}));
    EXPECT_EQ(std::tuple(dlg->selectedItem(), dlg->panelKind(), dlg->isModified()),
              (std::tuple<const ObjItem*, int, bool>(nullptr, PropertyPanel::kBackground, true)));
    dlg->document().markSaved();
    drag(dlg->view().canvasRect().topLeft() + QPoint(2, 2));
    EXPECT_FALSE(dlg->isModified() || dlg->canvas().hasCapture());
    EXPECT_FALSE(dlg->canvas().onLButtonDown(QPoint(dlg->width() - 2, dlg->height() - 2)));
}

TEST_F(CardViewTest, DragsMoveByEachPointerStepHeldToTheCardAndHandlesWinUnderAText)
{
    scale().current = 46; // 720/46 = 15.65: one-pixel steps round up, 10 pixels to 157
    dlg->LayoutCard(false);
    ObjItem* r = add(300, 300, 500, 500);
    QPoint p = at({400, 400});
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, p);
    ASSERT_EQ(dlg->selectedItem(), r);
    for (int i = 0; i < 10; ++i)
        QTest::mouseMove(dlg.get(), p += QPoint(1, 0));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, p);
    EXPECT_EQ(std::pair(r->x, scale().toUnits(10)), std::pair(300 + 10 * 16, 157));
    drag(p, {p + QPoint(10, 0)});
    EXPECT_EQ(r->x, 300 + 10 * 16 + scale().toUnits(10));

    // Far beyond the card, the pointer stops at the card's corner.
    dlg->LayoutCard(true);
    place(*r, 300, 300, 500, 500);
    const platform::Rect& card = dlg->cardRect();
    drag(at({400, 400}), {QPoint(card.left - 500, card.top - 500)});
    const QPoint step = QPoint(card.left, card.top) - at({400, 400});
    EXPECT_EQ(QPoint(r->x, r->y), QPoint(300, 300) + QPoint(scale().toUnits(step.x()), scale().toUnits(step.y())));
    EXPECT_FALSE(dlg->canvas().onMouseMove(QPoint(5, 5))); // no capture: default handling

    // The selection's handle wins over a text lying on it.
    place(*r, 300, 300, 500, 500);
    dlg->document().markSaved();
    add<ObjItemText>(700, 700);
    dlg->selection().select(dlg->page().items().begin());
    const QPoint corner = at({800, 800});
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, corner + QPoint(2, 3));
    EXPECT_EQ(std::pair(dlg->canvas().dragMode(), dlg->canvas().handleIndex()), std::pair(int(CardCanvas::Handle), 0));
    QTest::mouseMove(dlg.get(), corner + QPoint(12, 23));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, corner + QPoint(12, 23));
    EXPECT_EQ(std::pair(dlg->selectedItem(), dlg->isModified()), (std::pair<const ObjItem*, bool>(r, true)));
    const auto units = [&](int px) { return scale().toUnits(scale().toDevice(800) + px); };
    EXPECT_EQ(r->GetBounds(), (platform::Rect{300, 300, units(10), units(20)}));
}

// A drag held when the grab is lost, a key selects, a save or the window's close
// comes ends first, its move a change of its own.
TEST_F(CardViewTest, ADragEndsWhenTheGrabIsLostOrTabSaveOrCloseComes)
{
    ObjItem* r = add(300, 300, 500, 500);
    const ObjItem* text = add<ObjItemText>(1200, 300);
    const QString file = path("held.pmr");
    const QPoint p = at({400, 400});
    const QPoint outside(dlg->width() - 2, dlg->height() - 2);
    const auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, outside, dlg->mapToGlobal(outside), button, buttons, {});
        QApplication::sendEvent(dlg.get(), &e);
    };

    // A right-click during the drag opens no menu; the release then goes
    // unseen and a later click outside the canvas only ends the drag.
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, p);
    QWidget* menu = nullptr;
    QTimer::singleShot(0, [&] {
        if ((menu = QApplication::activePopupWidget()))
            menu->close();
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, p, dlg->mapToGlobal(p));
    QApplication::sendEvent(dlg.get(), &rightClick);
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(menu, dlg->canvas().hasCapture()), std::pair(static_cast<QWidget*>(nullptr), true));
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(std::tuple(dlg->canvas().hasCapture(), dlg->selectedItem(), dlg->isModified()), (std::tuple<bool, const ObjItem*, bool>(false, r, false)));

    // A save or a cancelled close records the move so far and lets the drag go on.
    // Undone, the move leaves the card saved before the drag, or not the one saved during it.
    QMenu popup;
    popup.addAction(QStringLiteral("x"));
    const std::tuple<const char*, std::function<void()>, const ObjItem*, bool, int> cases[] = {
        {"a move without the button", [&] { send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }, r, false, 0},
        {"a popup", [&] { popup.popup(dlg->mapToGlobal(outside)); popup.hide(); }, r, false, 0},
        {"deactivation", [&] { QEvent e(QEvent::WindowDeactivate); QApplication::sendEvent(dlg.get(), &e); }, r, false, 0},
        {"Tab", [&] { canvasKey(Qt::Key_Tab); }, text, false, 0},
        {"save", [&] {
             testsupport::FileDialogScript chosen({file});
             canvasKey(Qt::Key_S, Qt::ControlModifier);
         }, r, true, 1},
        {"close", [&] {
             testsupport::MessageBoxScript boxes({platform::IdCancel});
             dlg->close();
             EXPECT_EQ(boxes.shown().size(), 1u) << "the save prompt";
         }, r, true, 0},
    };
    for (const auto& [what, act, selected, goesOn, modifiedUndone] : cases) {
        SCOPED_TRACE(what);
        place(*r, 300, 300, 500, 500);
        dlg->selection().select(dlg->page().items().begin());
        ASSERT_TRUE(dlg->saveDocument(file));
        QTest::mousePress(dlg.get(), Qt::LeftButton, {}, p);
        QTest::mouseMove(dlg.get(), p + QPoint(8, 0));
        act();
        EXPECT_EQ(dlg->canvas().hasCapture(), goesOn);
        QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, p + QPoint(8, 0));
        EXPECT_EQ(std::tuple(r->x, dlg->isModified(), dlg->selectedItem(), dlg->panelKind(), dlg->isVisible()),
                  std::tuple(300 + scale().toUnits(8), modifiedUndone == 0, selected, selected->kind, true));
        dlg->undo();
        EXPECT_EQ(std::pair(r->x, dlg->isModified()), std::pair(300, modifiedUndone == 1));
    }
}

} // namespace
