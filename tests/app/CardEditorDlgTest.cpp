// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "app/HelpViewer.h"
#include "resources/Templates.h"

#include <QTimer>

namespace {

using CardEditorDlgTest = EditorTest;

// Template rectangles become pixels at the window's base units, those of the
// Japanese dialog font; each control lies at its own, with its visibility.
TEST_F(CardEditorDlgTest, EveryControlIsAtItsTemplateRectangleInPixelsWithItsVisibility)
{
    // x × 6 ÷ 4 and y × 13 ÷ 8, halves away from zero.
    const ui::DialogUnits u(6, 13);
    const std::pair<QRect, QRect> cases[] = {
        {{6, 7, 240, 174}, {9, 11, 360, 283}},     // 11.375, 282.75
        {{255, 7, 22, 27}, {383, 11, 33, 44}},     // 382.5, 43.875
        {{267, 120, 65, 19}, {401, 195, 98, 31}},  // 400.5, 97.5, 30.875
    };
    for (const auto& [du, px] : cases)
        EXPECT_EQ(u.toPixels(du.x(), du.y(), du.width(), du.height()), px) << du.x() << "," << du.y();
    EXPECT_EQ(std::pair(QSize(u.toPixelsX(354), u.toPixelsY(271)), dlg->size()),
              std::pair(QSize(531, 440), QSize(dlg->units().toPixelsX(354), dlg->units().toPixelsY(271)))); // 440.375
    EXPECT_EQ(std::pair(platform::resolvedFamily(dlg->font().family()), dlg->windowTitle()), std::pair(QStringLiteral("IPAPGothic"), QStringLiteral("Pelmora")));

    for (const platform::ControlSpec& c : resources::dialogTemplate(resources::dlg::Editor).controls) {
        SCOPED_TRACE(c.id);
        QWidget* w = dlg->item(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), dlg->units().toPixels(c.x, c.y, c.w, c.h));
        if (c.id == ctl::Bigger || c.id == ctl::Smaller) { // the background group shows them, usable only with a pattern
            EXPECT_TRUE(!w->isHidden() && !w->isEnabled());
        } else if (c.id != ctl::HScroll && c.id != ctl::VScroll) { // shown as the layout needs
            EXPECT_EQ(!w->isHidden(), c.visible);
        }
        const auto* b = qobject_cast<QPushButton*>(w);
        EXPECT_FALSE(b && b->autoDefault()) << "Enter would press it";
    }
}

TEST_F(CardEditorDlgTest, SystemCommandsOpenTheAboutBoxAndHelp)
{
    QString aboutTitle;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            aboutTitle = w->windowTitle();
            w->close();
        }
    });
    dlg->systemCommand(ctl::SysAbout | 0x3); // the low four bits do not matter
    EXPECT_EQ(aboutTitle, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    QTest::mouseClick(dlg->item(ctl::Help), Qt::LeftButton);
    // The tool button queues its command.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->helpViewer() != nullptr; }));
    EXPECT_TRUE(dlg->helpViewer()->isVisible() && dlg->helpViewer()->hasPage()) << dlg->helpViewer()->source().toStdString();
}

} // namespace
