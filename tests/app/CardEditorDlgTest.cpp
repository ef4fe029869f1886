#include "app/CardEditorDlg.h"
#include "app/HelpViewer.h"
#include "platform/Fonts.h"
#include "platform/GdiMath.h"
#include "print/CardFormatCatalog.h"
#include "resources/ControlIds.h"
#include "resources/Templates.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CardEditorDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::installFontSubstitutions(); }
    void SetUp() override { CardFormatCatalog::instance() = CardFormatCatalog(); }
};

TEST_F(CardEditorDlgTest, EveryControlOfTheTemplateHasItsIdPlaceVisibilityAndTip)
{
    CardEditorDlg dlg;
    const platform::DialogSpec& tmpl = resources::dialogTemplate(resources::dlg::Editor);
    ASSERT_EQ(tmpl.controls.size(), 43u);

    // The dialog font is the Japanese UI font, so the base units are its own.
    EXPECT_EQ(platform::resolvedFamily(dlg.font().family()), QStringLiteral("IPAPGothic"));
    EXPECT_GE(dlg.units().baseX(), 5);
    EXPECT_GE(dlg.units().baseY(), 11);
    EXPECT_EQ(dlg.size(), QSize(dlg.units().toPixelsX(354), dlg.units().toPixelsY(271)));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Pelmora"));

    for (const platform::ControlSpec& c : tmpl.controls) {
        SCOPED_TRACE(c.id);
        QWidget* w = dlg.item(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), dlg.units().toPixels(c.x, c.y, c.w, c.h));
        if (c.id != ctl::HScroll && c.id != ctl::VScroll) { // shown as the layout needs
            EXPECT_EQ(!w->isHidden(), c.visible);
        }
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(b->text(), QString::fromUtf8(c.text));
            EXPECT_FALSE(b->autoDefault());
        }
    }
    // The canvas with the exact pixel places for the base units.
    const platform::DialogUnits u = dlg.units();
    EXPECT_EQ(dlg.item(ctl::Canvas)->geometry(),
              QRect(platform::mulDivNearest(6, u.baseX(), 4), platform::mulDivNearest(7, u.baseY(), 8),
                    platform::mulDivNearest(240, u.baseX(), 4), platform::mulDivNearest(174, u.baseY(), 8)));

    const std::pair<int, const char*> tips[] = {
        {ctl::AddText, "もじ"}, {ctl::AddLine, "せん"}, {ctl::AddRect, "しかく"}, {ctl::AddPicture, "ビットマップ"},
        {ctl::Delete, "けす"}, {ctl::SendBack, "うしろへ"}, {ctl::Duplicate, "ふくせい"}, {ctl::ZoomIn, "ズームイン"},
        {ctl::ZoomOut, "ズームアウト"}, {ctl::Help, "へるぷ"}, {ctl::Open, ""}};
    for (const auto& [id, text] : tips)
        EXPECT_EQ(dlg.item(id)->toolTip(), QString::fromUtf8(text)) << id;
}

TEST_F(CardEditorDlgTest, EnterBreaksTheLineAndEscapeNeverCloses)
{
    CardEditorDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* edit = dlg.itemAs<QPlainTextEdit>(ctl::TextEdit);
    ASSERT_NE(edit, nullptr);
    edit->show();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("ab\nc"));

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    dlg.item(ctl::Open)->setFocus();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Return);
    QTest::keyClick(&dlg, Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
}

TEST_F(CardEditorDlgTest, SystemCommandsOpenTheAboutBoxAndHelp)
{
    CardEditorDlg dlg;
    QString aboutTitle;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            aboutTitle = w->windowTitle();
            w->close();
        }
    });
    dlg.systemCommand(ctl::SysAbout | 0x3); // the low four bits do not matter
    EXPECT_EQ(aboutTitle, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.item(ctl::Help), Qt::LeftButton);
    ASSERT_NE(dlg.helpViewer(), nullptr);
    EXPECT_TRUE(dlg.helpViewer()->isVisible());
    EXPECT_TRUE(dlg.helpViewer()->hasPage()) << dlg.helpViewer()->source().toStdString();
}

} // namespace
