#include "EditorTest.h"
#include "../model/DocumentBytes.h"
#include "app/CardEditorDlg.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "print/CardFormatCatalog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class CanvasTest : public EditorTest {
protected:
    // Window pixel of an item-unit point.
    QPoint at(QPoint units) const
    {
        const platform::Rect& card = dlg->cardRect();
        return dlg->view().scale().toDevice(units) + QPoint(card.left, card.top);
    }
    // Appends an item at (x, y); a size of 0 keeps the item's own.
    template <class T = ObjItemRect>
    ObjItem* add(int x, int y, int cx = 0, int cy = 0, std::unique_ptr<T> item = std::make_unique<T>())
    {
        place(*item, x, y, cx > 0 ? cx : item->cx, cx > 0 ? cy : item->cy);
        return dlg->page().append(std::move(item))->get();
    }
    void click(QPoint p)
    {
        QTest::mousePress(dlg.get(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, p);
    }
};

TEST_F(CanvasTest, TextIsHitBeforeLaterItemsAndLaterBeforeEarlier)
{
    ObjItem* t = add<ObjItemText>(200, 200);
    ObjItem* under = add(100, 100, 800, 800);
    ObjItem* over = add(150, 150, 800, 800);
    add(0, 0, 2000, 2000, std::make_unique<ObjItemBitmap>(dlg->cardUnits(), testPicture(4, 4)));

    click(at({210, 210}));
    EXPECT_EQ(dlg->selectedItem(), t);
    EXPECT_EQ(dlg->panelKind(), ObjItem::KindText);
    click(at({700, 700}));
    EXPECT_EQ(dlg->selectedItem()->kind, ObjItem::KindPicture);
    dlg->page().items().pop_back();
    dlg->selection().clear();
    click(at({700, 700}));
    EXPECT_EQ(dlg->selectedItem(), over);
    click(at({120, 120}));
    EXPECT_EQ(dlg->selectedItem(), under);
}

TEST_F(CanvasTest, ClicksMarkTheCardOnlyWhenTheyDeselectAndDragsWhenTheyMove)
{
    ObjItem* r = add(300, 300, 500, 500);
    const QPoint p = at({400, 400});
    // Selecting refreshes the panel when the drag starts, which does not mark the card.
    click(p);
    EXPECT_EQ(dlg->selectedItem(), r);
    EXPECT_EQ(dlg->panelKind(), ObjItem::KindRect);
    click(p);
    EXPECT_EQ(dlg->modified(), 0);
    // A drag that moved is a change.
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, p);
    QTest::mouseMove(dlg.get(), p + QPoint(4, 0));
    QTest::mouseMove(dlg.get(), p + QPoint(8, 2));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, p + QPoint(8, 2));
    EXPECT_EQ(r->x, 300 + 2 * dlg->view().scale().toUnits(4));
    EXPECT_EQ(dlg->modified(), 1);
    // Empty canvas with a selection: deselects, background panel, modified.
    dlg->setModified(0);
    click(at({2000, 1400}));
    EXPECT_EQ(dlg->selectedItem(), nullptr);
    EXPECT_EQ(dlg->panelKind(), 5);
    EXPECT_EQ(dlg->modified(), 1);
    // Empty canvas without a selection: nothing changes.
    dlg->setModified(0);
    click(dlg->view().canvasRect().topLeft() + QPoint(2, 2));
    EXPECT_EQ(dlg->modified(), 0);
    EXPECT_FALSE(dlg->hasCapture());
    // Outside the canvas: not the canvas's business.
    EXPECT_FALSE(dlg->onLButtonDown(QPoint(dlg->width() - 2, dlg->height() - 2)));
}

TEST_F(CanvasTest, HandlesWinEvenUnderAText)
{
    ObjItem* r = add(300, 300, 500, 500);
    add<ObjItemText>(700, 700);
    dlg->selection().select(dlg->page().items().begin());
    const QPoint corner = at({800, 800});
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, corner + QPoint(2, 3));
    EXPECT_EQ(dlg->canvas().dragMode(), CardCanvas::Handle);
    EXPECT_EQ(dlg->canvas().handleIndex(), 0);
    QTest::mouseMove(dlg.get(), corner + QPoint(12, 23));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, corner + QPoint(12, 23));
    EXPECT_EQ(dlg->selectedItem(), r);
    EXPECT_EQ(dlg->modified(), 1);
    EXPECT_EQ(r->GetBounds(), (platform::Rect{300, 300, dlg->view().scale().toUnits(dlg->view().scale().toDevice(800) + 10), dlg->view().scale().toUnits(dlg->view().scale().toDevice(800) + 20)}));
}

TEST_F(CanvasTest, EachPointerStepIsConvertedOnItsOwn)
{
    dlg->view().scale().current = 46; // 720/46 = 15.65: one-pixel steps round up, 10 pixels to 157
    dlg->LayoutCard(false);
    ObjItem* r = add(300, 300, 500, 500);
    QPoint p = at({400, 400});
    ASSERT_TRUE(dlg->onLButtonDown(p));
    ASSERT_EQ(dlg->selectedItem(), r);
    for (int i = 0; i < 10; ++i) {
        p.rx() += 1;
        dlg->onMouseMove(p);
    }
    dlg->onLButtonUp();
    EXPECT_EQ(r->x, 300 + 10 * 16);
    EXPECT_NE(10 * 16, dlg->view().scale().toUnits(10));

    ASSERT_TRUE(dlg->onLButtonDown(p));
    p.rx() += 10;
    dlg->onMouseMove(p);
    dlg->onLButtonUp();
    EXPECT_EQ(r->x, 300 + 10 * 16 + dlg->view().scale().toUnits(10));
}

TEST_F(CanvasTest, LosingTheGrabEndsTheDragAndKeepsWhatMoved)
{
    ObjItem* r = add(300, 300, 500, 500);
    const QPoint p = at({400, 400});
    const QPoint outside(dlg->width() - 2, dlg->height() - 2);
    const auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, outside, dlg->mapToGlobal(outside), button, buttons, {});
        QApplication::sendEvent(dlg.get(), &e);
    };

    // A right-click during the drag opens no menu; the release then goes
    // unseen and a later click outside the canvas only ends the drag.
    ASSERT_TRUE(dlg->onLButtonDown(p));
    QWidget* menu = nullptr;
    QTimer::singleShot(0, [&] {
        if ((menu = QApplication::activePopupWidget()))
            menu->close();
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, p, dlg->mapToGlobal(p));
    QApplication::sendEvent(dlg.get(), &rightClick);
    QCoreApplication::processEvents();
    EXPECT_EQ(menu, nullptr);
    EXPECT_TRUE(dlg->hasCapture());
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(dlg->hasCapture());
    EXPECT_EQ(dlg->selectedItem(), r);
    EXPECT_EQ(dlg->modified(), 0);

    QMenu popup;
    popup.addAction(QStringLiteral("x"));
    const std::pair<const char*, std::function<void()>> losses[] = {
        {"a move without the button", [&] { send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }},
        {"a popup", [&] { popup.popup(dlg->mapToGlobal(outside)); popup.hide(); }},
        {"deactivation", [&] { QEvent e(QEvent::WindowDeactivate); QApplication::sendEvent(dlg.get(), &e); }},
        {"hiding", [&] { dlg->hide(); dlg->show(); }},
    };
    const int step = dlg->view().scale().toUnits(4);
    for (const auto& [how, lose] : losses) {
        SCOPED_TRACE(how);
        dlg->setModified(0);
        const int x = r->x;
        ASSERT_TRUE(dlg->onLButtonDown(p));
        dlg->onMouseMove(p + QPoint(4, 0));
        lose();
        EXPECT_FALSE(dlg->hasCapture());
        EXPECT_EQ(r->x, x + step);
        EXPECT_EQ(dlg->modified(), 1);
    }
}

TEST_F(CanvasTest, DragIsHeldToTheCard)
{
    ObjItem* r = add(300, 300, 500, 500);
    const platform::Rect& card = dlg->cardRect();
    ASSERT_TRUE(dlg->onLButtonDown(at({400, 400})));
    dlg->onMouseMove(QPoint(card.left - 500, card.top - 500));
    dlg->onLButtonUp();
    // The pointer stopped at the card's corner.
    const QPoint step = QPoint(card.left, card.top) - at({400, 400});
    EXPECT_EQ(r->x, 300 + dlg->view().scale().toUnits(step.x()));
    EXPECT_EQ(r->y, 300 + dlg->view().scale().toUnits(step.y()));
    EXPECT_FALSE(dlg->onMouseMove(QPoint(5, 5))); // no capture: default handling
}

} // namespace
