#pragma once

#include "TestSupport.h"
#include "app/CardEditorDlg.h"
#include "print/CardFormatCatalog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// The editor window on the built-in formats, shown; dialogs answer Cancel again
// after each test.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CardFormatCatalog::instance() = CardFormatCatalog();
        dlg = std::make_unique<CardEditorDlg>();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void TearDown() override { testsupport::installDefaults(); }

    // A button's command, as the platform's click runs it.
    void press(int id) { dlg->itemAs<QAbstractButton>(id)->click(); }
    // A click as the user makes it; an image button's command arrives queued.
    void click(int id)
    {
        QWidget* w = dlg->item(id);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QApplication::processEvents();
    }

    std::unique_ptr<CardEditorDlg> dlg;
};
