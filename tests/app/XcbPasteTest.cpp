// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "model/ObjItemText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

// Run on a real X server by scripts/with-xvfb.sh (ctest's app_xcb): the offscreen
// platform's clipboard never comes up empty the way X11's does.
namespace {

class XcbPasteTest : public EditorTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs a real X server: "
                         << qEnvironmentVariable("PELMORA_XVFB_UNAVAILABLE", QStringLiteral("run it through ctest")).toStdString();
        EditorTest::SetUp();
    }
};

TEST_F(XcbPasteTest, PastingNothingIntoTheTextFieldDoesNothingAndTextStillPastes)
{
    press(ctl::AddText);
    const auto* text = static_cast<const ObjItemText*>(dlg->selectedItem());
    auto* field = dlg->itemAs<QPlainTextEdit>(ctl::TextEdit);
    ASSERT_TRUE(field && text);
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    ASSERT_TRUE(field->hasFocus());
    // The field selects its text on focus, which X11 makes the primary selection.
    field->moveCursor(QTextCursor::End);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear(QClipboard::Clipboard);
    clipboard->clear(QClipboard::Selection);

    // Every way of pasting: keys, the context menu's action, a middle click, and Ctrl+V on the card.
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    field->paste();
    QTest::mouseClick(field->viewport(), Qt::MiddleButton, {}, QPoint(4, 4));
    dlg->paste();
    EXPECT_EQ(text->textString(), QStringLiteral("Text"));
    EXPECT_EQ(items().size(), 1u);

    clipboard->setText(QStringLiteral("やまだ"));
    QTest::keyClick(field, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    clipboard->setText(QStringLiteral("1"), QClipboard::Selection);
    QTest::mouseClick(field->viewport(), Qt::MiddleButton, {}, QPoint(1, 4));
    EXPECT_TRUE(text->textString().contains(QStringLiteral("やまだ"))) << text->textString().toStdString();
    EXPECT_TRUE(text->textString().contains(QLatin1Char('1'))) << text->textString().toStdString();
}

} // namespace
