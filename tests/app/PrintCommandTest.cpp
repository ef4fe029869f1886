// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "app/PrintCommand.h"
#include "print/SheetProbe.h"
#include "printui/AdjustPrintDlg.h"
#include "printui/PrintListBox.h"
#include "printui/PrintProgressDlg.h"
#include "printui/SidesPanel.h"
#include "printui/TurnSheetsDlg.h"
#include "resources/Strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QRadioButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QSpinBox>
#include <QToolButton>

#include <functional>

using testsupport::MessageBoxScript;
using namespace sheetprobe;

namespace {

// The status lines the progress window painted, and its last count and total.
struct ProgressSpy : QObject {
    ProgressSpy() { qApp->installEventFilter(this); }
    ~ProgressSpy() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (auto* window = w && e->type() == QEvent::Paint ? qobject_cast<print::PrintProgressDlg*>(w->window()) : nullptr) {
            if (statuses.isEmpty() || statuses.back() != window->status())
                statuses << window->status();
            progress = window->progress();
            total = window->total();
        }
        return false;
    }
    QStringList statuses;
    int progress = -1, total = -1;
};

// The card's own job is pinned by the print tests; here, what the command asks
// and which job it hands to the renderer.
class PrintCommandTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        markCard(dlg->page());
    }
    // Prints with the dialog answered: `act` fills in the panel (a button that
    // accepts the dialog sets the printer up from it), then output goes to `pdf`
    // at 600 pixels per inch with `copies` copies.
    void printTo(const QString& pdf, int answer, const std::function<void(print::AdjustPrintDlg&)>& act = {},
                 int copies = 1)
    {
        dialogs = 0;
        const auto answering = testsupport::answerPrintDialog([&](print::AdjustPrintDlg& d) {
            ++dialogs;
            if (act)
                act(d);
            d.printer()->setOutputFormat(QPrinter::PdfFormat);
            d.printer()->setOutputFileName(pdf);
            d.printer()->setResolution(600);
            d.printer()->setCopyCount(copies);
        }, answer);
        press(ctl::Print);
    }
    void useFormat(const CardFormat& f)
    {
        CardFormatCatalog::instance().append(f);
        CardFormatCatalog::instance().setCurrent(CardFormatCatalog::instance().count() - 1);
        dlg->page().cardWidth = f.cardWidth;
        dlg->page().cardHeight = f.cardHeight;
    }

    int dialogs = 0;
    std::vector<print::SheetJob> jobs; // handed to the renderer
    testsupport::Override<PrintJobWatcher> watching{setPrintJobWatcher,
                                                    [this](const print::SheetJob& j) { jobs.push_back(j); }};
};

} // namespace

TEST_F(PrintCommandTest, ACardOfAnotherSizeAsksFirstAndCancelPrintsNothing)
{
    dlg->page().cardWidth = 100;
    MessageBoxScript boxes({platform::IdCancel, platform::IdOk});
    printTo(path("a.pdf"), QDialog::Accepted);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const ui::MessageBoxRequest& asked = boxes.shown()[0];
    EXPECT_EQ(std::tuple(asked.text, asked.buttons, asked.icon, dialogs),
              std::tuple(resources::loadString(resources::ids::PrintSizeMismatch), platform::MbButtons::OkCancel, platform::MbIcon::Exclamation, 0));

    // OK goes on to the dialog; cancelling it prints nothing.
    printTo(path("b.pdf"), QDialog::Rejected);
    EXPECT_EQ(std::tuple(dialogs, QFileInfo::exists(path("b.pdf")), jobs.size()), std::tuple(1, false, std::size_t(0)));
}

TEST_F(PrintCommandTest, ThePanelsOffsetsOnlyOneStartAndCopiesMakeTheJob)
{
    MessageBoxScript boxes;
    ProgressSpy spy;
    printTo(path("cards.pdf"), QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        EXPECT_EQ(std::pair(d.printer()->docName(), d.startEdit()->text()), std::pair(QStringLiteral("Pelmora"), QStringLiteral("1"))); // a card never saved
        d.offsetXEdit()->setText(QStringLiteral("-1"));
        d.offsetYEdit()->setText(QStringLiteral(" 1"));
        d.startEdit()->setText(QStringLiteral("4"));
        d.onlyOneBox()->setChecked(true);
    }, 3);
    ASSERT_EQ(jobs.size(), 1u);
    const print::SheetJob& job = jobs[0];
    EXPECT_EQ(std::tuple(job.format, job.adjustX, job.adjustY, job.onlyOne, job.start, job.sheets, job.copies, job.pixelsPerInch),
              std::tuple(CardFormatCatalog::instance().currentFormat(), -1, 1, true, 4, 3, 3, 0));
    EXPECT_EQ(std::pair(job.list, boxes.shown().size()), std::pair(std::shared_ptr<const print::CardList>(), std::size_t(0)));
    // The one run through: the progress window counts every card, the file is written.
    EXPECT_EQ(std::tuple(QFileInfo::exists(path("cards.pdf")), spy.progress, spy.total), std::tuple(true, 3, 3));
    EXPECT_EQ(spy.statuses, (QStringList{"印刷開始･･･", "1/3 ﾍﾟｰｼﾞ、1/1･･･", "2/3 ﾍﾟｰｼﾞ、1/1･･･", "3/3 ﾍﾟｰｼﾞ、1/1･･･", "印刷終了"}));

    // Beyond the last position: a message, and nothing printed.
    printTo(path("far.pdf"), QDialog::Accepted, [](print::AdjustPrintDlg& d) { d.startEdit()->setText(QStringLiteral("11")); });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(std::tuple(boxes.shown()[0].text, jobs.size(), QFileInfo::exists(path("far.pdf"))),
              std::tuple(QStringLiteral("はじめのいち は 1 から 10 までに してね"), std::size_t(1), false));
}

TEST_F(PrintCommandTest, FailuresAreReportedWithTheStopIcon)
{
    MessageBoxScript boxes;
    ProgressSpy spy;
    printTo(path("no/such/folder/x.pdf"), QDialog::Accepted);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(std::tuple(boxes.shown()[0].text, boxes.shown()[0].icon, spy.statuses),
              std::tuple(QStringLiteral("err: メモリが不十分または無効なポートです。"), platform::MbIcon::Stop, QStringList{"印刷開始･･･"}));

    // A card too large for a picture: each sheet says so; the paper cannot hold
    // such cards, and Yes prints anyway.
    CardFormat huge = CardFormatCatalog().format(0);
    huge.cardWidth = huge.cardHeight = 3000;
    useFormat(huge);
    {
        MessageBoxScript inner;
        printTo(path("text.pdf"), QDialog::Accepted, {}, 2);
        const QString failed = QString::fromUtf8(resources::texts::PictureFailed);
        ASSERT_EQ(inner.shown().size(), 3u);
        EXPECT_EQ(std::tuple(inner.shown()[0].buttons, inner.shown()[1].text, inner.shown()[2].text),
                  std::tuple(platform::MbButtons::YesNo, failed, failed));
    }

    // A format without columns has nothing to show and no total to divide by.
    CardFormat none = CardFormatCatalog().format(0);
    none.columns = 0;
    useFormat(none);
    spy.statuses.clear();
    printTo(path("none.pdf"), QDialog::Accepted);
    EXPECT_EQ(std::tuple(spy.total, spy.statuses, boxes.shown().size()), std::tuple(0, QStringList{"印刷開始･･･", "印刷終了"}, std::size_t(1)));
}

TEST_F(PrintCommandTest, ThePaperStartsAsTheFormatsUprightAndOneThatCannotHoldTheCardsIsToldBeforePrinting)
{
    const struct {
        const char* what;
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation orientation;
        int answer; // 0: no question
    } cases[] = {
        {"portrait A4 prints without a word", QPageSize::A4, QPageLayout::Portrait, 0},
        {"Letter asks, and No prints nothing", QPageSize::Letter, QPageLayout::Portrait, platform::IdNo},
        {"landscape A4 asks, and Yes prints", QPageSize::A4, QPageLayout::Landscape, platform::IdYes},
    };
    for (const auto& c : cases) {
        MessageBoxScript boxes(c.answer ? std::deque<int>{c.answer} : std::deque<int>{});
        QPageLayout started;
        jobs.clear();
        printTo(path("paper.pdf"), QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
            started = d.printer()->pageLayout();
            d.printer()->setPageSize(QPageSize(c.paper));
            d.printer()->setPageOrientation(c.orientation);
        });
        EXPECT_EQ(std::pair(started.pageSize().id(), started.orientation()), std::pair(QPageSize::A4, QPageLayout::Portrait)) << c.what;
        ASSERT_EQ(boxes.shown().size(), c.answer ? 1u : 0u) << c.what;
        if (c.answer) {
            EXPECT_EQ(std::pair(boxes.shown()[0].text, boxes.shown()[0].buttons),
                      std::pair(resources::loadString(resources::ids::PrintPaperTooSmall), platform::MbButtons::YesNo));
        }
        EXPECT_EQ(jobs.size(), c.answer == platform::IdNo ? 0u : 1u) << c.what;
    }

    CardFormat letter = CardFormatCatalog().format(0);
    letter.paperWidth = 216;
    letter.paperHeight = 279;
    letter.rows = 4;
    useFormat(letter);
    QPageLayout started;
    printTo(path("letter.pdf"), QDialog::Rejected, [&](print::AdjustPrintDlg& d) { started = d.printer()->pageLayout(); });
    EXPECT_EQ(std::pair(started.pageSize().id(), started.orientation()), std::pair(QPageSize::Letter, QPageLayout::Portrait));
}

// The sheet itself, without the offsets, is pinned by its own tests; it is no job of cards.
TEST_F(PrintCommandTest, TheCalibrationButtonPrintsTheSheetInsteadOfTheCards)
{
    MessageBoxScript boxes;
    ASSERT_TRUE(dlg->saveDocument(path("わたしの めいし.pmr")));
    printTo(path("calibration.pdf"), QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        EXPECT_EQ(d.printer()->docName(), QStringLiteral("わたしの めいし.pmr")); // the job's name
        d.calibrateButton()->click();
    });
    EXPECT_EQ(std::tuple(boxes.shown().size(), QFileInfo::exists(path("calibration.pdf")), jobs.size()), std::tuple(std::size_t(0), true, std::size_t(0)));
}

TEST_F(PrintCommandTest, AListChosenInThePanelPrintsOneCardPerPersonOrIsRefusedWithTheMissingColumn)
{
    addText(dlg->page(), QStringLiteral("{{なまえ}}"), 14, 14, 0, 20);
    QString people = QStringLiteral("なまえ,TEL\n");
    for (int i = 1; i <= 15; ++i)
        people += QStringLiteral("P%1,03\n").arg(i, 2, 10, QLatin1Char('0'));
    ASSERT_TRUE(testsupport::writeFile(path("people.csv"), people.toUtf8()));
    ASSERT_TRUE(testsupport::writeFile(path("other.csv"), "NAME\nP01\n"));

    MessageBoxScript boxes;
    QStringList shown;
    std::shared_ptr<const print::CardList> chosen;
    printTo(path("team.pdf"), QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
        print::PrintListBox& list = *d.listBox();
        // A list whose columns do not fill the card is refused and names what it lacks.
        testsupport::FileDialogScript files({path("people.csv"), path("other.csv"), path("people.csv")});
        list.chooseButton()->click();
        ASSERT_NE(d.list(), nullptr);
        list.clearButton()->click();
        EXPECT_EQ(std::pair(d.list(), list.statusLabel()->text()), std::pair(std::shared_ptr<const print::CardList>(), QString()));
        list.chooseButton()->click();
        EXPECT_EQ(d.list(), nullptr);
        list.chooseButton()->click();
        ASSERT_NE(d.list(), nullptr);
        shown << list.statusLabel()->text().section(QLatin1Char('\n'), 1);
        d.startEdit()->setText(QStringLiteral("7"));
        shown << list.statusLabel()->text().section(QLatin1Char('\n'), 1);
        // Copies are cards per person, side by side.
        auto* copies = d.findChild<QSpinBox*>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        copies->setValue(2);
        shown << list.statusLabel()->text().section(QLatin1Char('\n'), 1);
        copies->setValue(1);
        chosen = d.list();
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(std::pair(boxes.shown()[0].text, shown),
              std::pair(QStringLiteral("リストに 「なまえ」 の こうもくが ないよ"), QStringList({"15まい・2シート", "15まい・3シート", "30まい・4シート"})));

    // Four people fill positions 7 to 10 of the first sheet, ten the second, one the third.
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(std::tuple(jobs[0].list, jobs[0].start, jobs[0].copies, jobs[0].sheets, print::SheetPlan(jobs[0]).totalCards()), std::tuple(chosen, 7, 1, 3, 15));
}

// A PDF printer keeps no duplex mode; the job's pages are what the turn decides.
TEST_F(PrintCommandTest, TheSidesTheTurnAndTheBacksOffsetsChosenMakeTheJob)
{
    markCard(dlg->page().ensureBack());
    MessageBoxScript boxes;
    const struct {
        print::Sides sides;
        print::Flip flip;
        int pages;
    } cases[] = {
        {print::Sides::Both, print::Flip::LongEdge, 2},
        {print::Sides::Both, print::Flip::ShortEdge, 2},
        {print::Sides::Back, print::Flip::ShortEdge, 1},
    };
    for (const auto& c : cases) {
        jobs.clear();
        printTo(path("sides.pdf"), QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
            d.sidesPanel()->sideButton(c.sides)->click();
            d.sidesPanel()->flipBox()->setCurrentIndex(int(c.flip));
            d.sidesPanel()->backXEdit()->setText(QStringLiteral("2"));
            d.sidesPanel()->backYEdit()->setText(QStringLiteral("-1"));
        });
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(std::tuple(jobs[0].sides, jobs[0].flip, jobs[0].backAdjustX, jobs[0].backAdjustY, jobs[0].adjustX),
                  std::tuple(c.sides, c.flip, 2, -1, 0));
        EXPECT_EQ(print::SheetPlan(jobs[0]).pages(), c.pages);
    }
    EXPECT_EQ(boxes.shown().size(), 0u);
}

TEST_F(PrintCommandTest, TurnedByHandTheFrontsPrintFirstAndTheBacksOnlyWhenTheUserGoesOn)
{
    markCard(dlg->page().ensureBack());
    for (const int answer : {QDialog::Accepted, QDialog::Rejected}) {
        jobs.clear();
        int asked = 0;
        std::size_t jobsWhenAsked = 0;
        const testsupport::Override<print::TurnSheetsDlg::Provider> turning{print::TurnSheetsDlg::setProvider,
                                                                          [&](print::TurnSheetsDlg&) {
            ++asked;
            jobsWhenAsked = jobs.size();
            return answer;
        }};
        const QString pdf = path(answer == QDialog::Accepted ? "hand.pdf" : "stop.pdf");
        printTo(pdf, QDialog::Accepted, [](print::AdjustPrintDlg& d) {
            d.sidesPanel()->sideButton(print::Sides::Both)->click();
            d.sidesPanel()->flipBox()->setCurrentIndex(int(print::Flip::Manual));
        });
        EXPECT_EQ(std::pair(asked, jobsWhenAsked), std::pair(1, std::size_t(1)));
        ASSERT_EQ(jobs.size(), answer == QDialog::Accepted ? 2u : 1u);
        EXPECT_EQ(std::pair(jobs[0].sides, jobs[0].flip), std::pair(print::Sides::Front, print::Flip::Manual));
        // The backs go to a file of their own beside the fronts'.
        const QString backs = QFileInfo(pdf).dir().filePath(QFileInfo(pdf).completeBaseName() + "-うら.pdf");
        EXPECT_EQ(std::pair(QFileInfo::exists(pdf), QFileInfo::exists(backs)), std::pair(true, answer == QDialog::Accepted));
        if (jobs.size() == 2) {
            EXPECT_EQ(std::pair(jobs[1].sides, jobs[1].flip), std::pair(print::Sides::Back, print::Flip::Manual));
        }
    }
}

TEST_F(PrintCommandTest, ACardWithoutABackPrintsItsFrontOnly)
{
    dlg->page().ensureBack(); // blank: nothing to print
    printTo(path("front.pdf"), QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        print::SidesPanel& sides = *d.sidesPanel();
        EXPECT_FALSE(sides.sideButton(print::Sides::Both)->isEnabled());
        sides.sideButton(print::Sides::Both)->click();
        EXPECT_EQ(std::tuple(d.sides(), sides.sideButton(print::Sides::Front)->isChecked(), sides.flipBox()->isEnabled()),
                  std::tuple(print::Sides::Front, true, false));
    });
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].sides, print::Sides::Front);
}
