// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "model/PmrDocument.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "printui/PaperSelectDlg.h"

#include <QLineEdit>

using print::FormatCreateDlg;
using print::PaperSelectDlg;
using testsupport::MessageBoxScript;

namespace {

// The paper dialog, whenever it shows, runs `act` and is closed with OK or
// Cancel; calls counts the times it showed.
struct PaperScript {
    PaperScript(std::function<void(PaperSelectDlg&)> act, bool ok)
        : paper(&PaperSelectDlg::setProvider,
                testsupport::clicking<PaperSelectDlg>([this, act](PaperSelectDlg& d) { ++calls, act(d); }, ok ? 1 : 2))
    {
    }
    int calls = 0;
    testsupport::Override<PaperSelectDlg::Provider> paper;
};

class PaperSelectCommandTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        rect = add(700, 300);
    }
    QSize cardSize() const { return {dlg->page().cardWidth, dlg->page().cardHeight}; }

    ObjItem* rect = nullptr;
};

} // namespace

TEST_F(PaperSelectCommandTest, ACardOfTheChosenSizeStaysAsItIs)
{
    MessageBoxScript boxes;
    for (const bool ok : {false, true}) {
        PaperScript paper([](PaperSelectDlg& d) { d.list()->setCurrentRow(1); }, ok); // the same card size
        press(ctl::PaperSelect);
        EXPECT_EQ(paper.calls, 1);
    }
    EXPECT_EQ(std::tuple(boxes.shown().size(), dlg->isModified(), CardFormatCatalog::instance().current()), std::tuple(std::size_t(0), false, 1));
}

TEST_F(PaperSelectCommandTest, AnotherCardSizeResizesTheCardWithANoticeAndKeepsItems)
{
    const platform::Rect before = dlg->cardRect();
    MessageBoxScript boxes;
    {
        // A 60 × 40 format added through "その他...", then the paper dialog cancelled:
        // the new format still counts.
        const auto fill = [](FormatCreateDlg& f) {
            f.field(FormatCreateDlg::kName)->setText(QStringLiteral("ちいさい"));
            f.field(FormatCreateDlg::kCardWidth)->setText(QStringLiteral("60"));
            f.field(FormatCreateDlg::kCardHeight)->setText(QStringLiteral("40"));
        };
        const testsupport::Override format(&FormatCreateDlg::setProvider, testsupport::clicking<FormatCreateDlg>(fill));
        PaperScript paper([](PaperSelectDlg& d) {
            QTest::mouseClick(d.itemAs<QPushButton>(PaperSelectDlg::kOther), Qt::LeftButton);
        }, false);
        press(ctl::PaperSelect);
    }
    ASSERT_EQ(boxes.shown().size(), 1u);
    const ui::MessageBoxRequest& notice = boxes.shown()[0];
    EXPECT_EQ(std::tuple(notice.text, notice.caption, notice.buttons),
              std::tuple(QStringLiteral("めいしサイズが かわりました"), QStringLiteral("ようしせってい"), platform::MbButtons::Ok));
    EXPECT_EQ(std::tuple(cardSize(), dlg->isModified(), QPoint(rect->x, rect->y)), std::tuple(QSize(60, 40), true, QPoint(700, 300)));
    EXPECT_NE(dlg->cardRect().width(), before.width()); // refitted
}

TEST_F(PaperSelectCommandTest, OpeningACardOfAnotherSizeRunsTheSameCommand)
{
    PmrData small;
    small.cardWidth = 80;
    writeDocumentFile(small, path("small.pmr"));

    MessageBoxScript boxes;
    {
        PaperScript paper([](PaperSelectDlg&) {}, false);
        ASSERT_TRUE(dlg->loadDocument(path("small.pmr")));
        EXPECT_EQ(paper.calls, 1);
    }
    // Cancelled: the card takes the current format's size again.
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(std::pair(cardSize(), dlg->isModified()), std::pair(QSize(91, 55), true));
}
