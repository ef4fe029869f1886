// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "../model/DocumentBytes.h"
#include "TestSupport.h"
#include "app/CardEditorDlg.h"
#include "model/ObjItemRect.h"
#include "platform/AppSettings.h"
#include "platform/Fonts.h"
#include "print/CardFormatCatalog.h"
#include "resources/ControlIds.h"
#include "ui/PrintDialogs.h"

#include <QApplication>

#include <memory>

// The editor window on the built-in formats, shown, with a fresh application
// directory and settings; dialogs answer Cancel again after each test.
class EditorTest : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CardFormatCatalog::instance() = CardFormatCatalog();
        platform::appSettings().setAppDir(dir.path());
        platform::appSettings().resetToDefaults();
        dlg = std::make_unique<CardEditorDlg>();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void TearDown() override
    {
        testsupport::installDefaults();
        ui::setPrintDialogProvider({});
    }

    // A button's command, as the platform's click runs it.
    void press(int id) { dlg->itemAs<QAbstractButton>(id)->click(); }
    // A click as the user makes it; an image button's command arrives queued.
    void click(int id)
    {
        QWidget* w = dlg->item(id);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QApplication::processEvents();
    }
    // A press at `from`, the pointer moved through `moves` and released at the last.
    void drag(QPoint from, std::initializer_list<QPoint> moves = {})
    {
        QTest::mousePress(dlg.get(), Qt::LeftButton, {}, from);
        for (const QPoint p : moves)
            QTest::mouseMove(dlg.get(), from = p);
        QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, from);
    }
    // A key to the focused control; canvasKey: to the window, away from the fields.
    void key(int k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get(), Qt::Key(k), mods);
    }
    void canvasKey(int k, Qt::KeyboardModifiers mods = {})
    {
        dlg->item(ctl::Open)->setFocus();
        key(k, mods);
    }
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
    // The card's items, in their list order.
    std::vector<const ObjItem*> items() const
    {
        std::vector<const ObjItem*> list;
        for (const auto& item : dlg->page().items())
            list.push_back(item.get());
        return list;
    }

    std::unique_ptr<CardEditorDlg> dlg;
};
