// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "print/SheetProbe.h"
#include "printui/AdjustPrintDlg.h"
#include "model/ObjItemText.h"
#include "platform/Codec.h"
#include "printui/PrintListBox.h"
#include "printui/PrintProgressDlg.h"
#include "printui/SheetPreview.h"
#include "resources/Strings.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QLabel>
#include <QToolButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <cmath>
#include <functional>

using testsupport::MessageBoxScript;
using namespace sheetprobe;

namespace {

// The status lines the progress window painted, and its last count and total.
class ProgressSpy : public QObject {
public:
    ProgressSpy() { qApp->installEventFilter(this); }
    ~ProgressSpy() override { qApp->removeEventFilter(this); }
    QStringList statuses;
    int progress = -1;
    int total = -1;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        auto* dlg = w && e->type() == QEvent::Paint ? qobject_cast<print::PrintProgressDlg*>(w->window()) : nullptr;
        if (dlg) {
            if (statuses.isEmpty() || statuses.back() != dlg->status())
                statuses << dlg->status();
            progress = dlg->progress();
            total = dlg->total();
        }
        return false;
    }
};

class PrintCommandTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        markCard(dlg->page());
    }
    // Prints with the dialog answered: `act` fills in the panel (a button that
    // accepts the dialog sets the printer up from it), then output goes to `pdf`
    // at 600 pixels per inch.
    void print(const QString& pdf, int copies, int answer, const std::function<void(print::AdjustPrintDlg&)>& act = {})
    {
        dialogs = 0;
        ui::setPrintDialogProvider([&](QPrintDialog& d) {
            ++dialogs;
            if (act)
                act(dynamic_cast<print::AdjustPrintDlg&>(d));
            d.printer()->setOutputFormat(QPrinter::PdfFormat);
            d.printer()->setOutputFileName(pdf);
            d.printer()->setResolution(600);
            d.printer()->setCopyCount(copies);
            return answer;
        });
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
};

} // namespace

TEST_F(PrintCommandTest, ACardOfAnotherSizeAsksFirstAndCancelPrintsNothing)
{
    dlg->page().cardWidth = 100;
    MessageBoxScript boxes({platform::IdCancel, platform::IdOk});
    print(path("a.pdf"), 1, QDialog::Accepted);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, resources::loadString(resources::ids::PrintSizeMismatch));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MbButtons::OkCancel);
    EXPECT_EQ(boxes.shown()[0].icon, platform::MbIcon::Exclamation);
    EXPECT_EQ(dialogs, 0);

    // OK goes on to the dialog; cancelling it prints nothing.
    ProgressSpy spy;
    print(path("b.pdf"), 1, QDialog::Rejected);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(QFileInfo::exists(path("b.pdf")));
    EXPECT_TRUE(spy.statuses.isEmpty());
}

// Where the job's cards land is pinned by the renderer's tests; here, that the
// panel's choices reach the job, as the sheets and cards the progress counts.
TEST_F(PrintCommandTest, ThePanelsOffsetsOnlyOneAndStartMakeTheJob)
{
    MessageBoxScript boxes;
    const struct {
        const char* what;
        const char* start;
        bool onlyOne;
        int copies;
        QStringList statuses;
    } cases[] = {
        {"only one, three copies: three sheets of one card", "1", true, 3,
         {"1/3 ﾍﾟｰｼﾞ、1/1･･･", "2/3 ﾍﾟｰｼﾞ、1/1･･･", "3/3 ﾍﾟｰｼﾞ、1/1･･･"}},
        {"position 10 of 10, two copies: the second sheet starts at 1", "10", false, 2,
         {"1/2 ﾍﾟｰｼﾞ、1/1･･･", "2/2 ﾍﾟｰｼﾞ、1/10･･･"}},
    };
    for (const auto& c : cases) {
        ProgressSpy spy;
        print(path("cards.pdf"), c.copies, QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
            EXPECT_EQ(d.startEdit()->text(), QStringLiteral("1"));
            d.offsetXEdit()->setText(QStringLiteral("-1"));
            d.offsetYEdit()->setText(QStringLiteral(" 1"));
            d.startEdit()->setText(QString::fromUtf8(c.start));
            d.onlyOneBox()->setChecked(c.onlyOne);
        });
        EXPECT_TRUE(QFileInfo::exists(path("cards.pdf"))) << c.what;
        EXPECT_EQ(QPoint(platform::appSettings().adjustX(), platform::appSettings().adjustY()), QPoint(-1, 1));
        EXPECT_EQ(spy.statuses.mid(1, c.statuses.size()), c.statuses) << c.what;
        EXPECT_EQ(spy.statuses.back(), QStringLiteral("印刷終了")) << c.what;
        EXPECT_EQ(spy.progress, spy.total) << c.what;
    }
    EXPECT_TRUE(boxes.shown().empty());

    // Beyond the last position: a message, and nothing printed.
    print(path("far.pdf"), 1, QDialog::Accepted, [](print::AdjustPrintDlg& d) { d.startEdit()->setText(QStringLiteral("11")); });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("はじめのいち は 1 から 10 までに してね"));
    EXPECT_FALSE(QFileInfo::exists(path("far.pdf")));
}

TEST_F(PrintCommandTest, TheJobIsNamedAfterTheCardsFile)
{
    const struct {
        const char* savedAs; // nothing: a card never saved
        const char* title;
    } cases[] = {{nullptr, "Pelmora"}, {"わたしの めいし.pmr", "わたしの めいし.pmr"}};
    for (const auto& c : cases) {
        MessageBoxScript boxes;
        if (c.savedAs) {
            ASSERT_TRUE(dlg->saveDocument(dir.filePath(QString::fromUtf8(c.savedAs))));
        }
        QString title;
        print(path("named.pdf"), 1, QDialog::Rejected, [&](print::AdjustPrintDlg& d) { title = d.printer()->docName(); });
        EXPECT_EQ(title, QString::fromUtf8(c.title));
    }
}

TEST_F(PrintCommandTest, FailuresAreReportedWithTheStopIcon)
{
    MessageBoxScript boxes;
    ProgressSpy spy;
    print(path("no/such/folder/x.pdf"), 1, QDialog::Accepted);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("err: メモリが不十分または無効なポートです。"));
    EXPECT_EQ(boxes.shown()[0].icon, platform::MbIcon::Stop);
    EXPECT_EQ(spy.statuses, QStringList{"印刷開始･･･"});

    // A card too large for a picture: each sheet says so.
    CardFormat huge = CardFormatCatalog().format(0);
    huge.cardWidth = huge.cardHeight = 3000;
    useFormat(huge);
    int messages = 0;
    auto inner = ui::setMessageBoxHandler([&](const ui::MessageBoxRequest& r) {
        if (r.buttons == platform::MbButtons::YesNo)
            return int(platform::IdYes); // the paper cannot hold such cards: print anyway
        ++messages;
        return int(platform::IdOk);
    });
    print(path("text.pdf"), 2, QDialog::Accepted);
    ui::setMessageBoxHandler(std::move(inner));
    EXPECT_EQ(messages, 2);

    // A format without columns has nothing to show and no total to divide by.
    CardFormat none = CardFormatCatalog().format(0);
    none.columns = 0;
    useFormat(none);
    spy.statuses.clear();
    print(path("none.pdf"), 1, QDialog::Accepted);
    EXPECT_EQ(spy.total, 0);
    EXPECT_EQ(spy.statuses, (QStringList{"印刷開始･･･", "印刷終了"}));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(PrintCommandTest, APaperThatCannotHoldTheCardsIsToldBeforePrinting)
{
    const struct {
        const char* what;
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation orientation;
        int answer; // 0: no question
        bool printed;
    } cases[] = {
        {"portrait A4 prints without a word", QPageSize::A4, QPageLayout::Portrait, 0, true},
        {"Letter asks, and No prints nothing", QPageSize::Letter, QPageLayout::Portrait, platform::IdNo, false},
        {"Letter asks, and Yes prints", QPageSize::Letter, QPageLayout::Portrait, platform::IdYes, true},
        {"landscape A4 asks, and No prints nothing", QPageSize::A4, QPageLayout::Landscape, platform::IdNo, false},
        {"landscape A4 asks, and Yes prints", QPageSize::A4, QPageLayout::Landscape, platform::IdYes, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        MessageBoxScript boxes(c.answer ? std::deque<int>{c.answer} : std::deque<int>{});
        ProgressSpy spy;
        const QString pdf = path(QStringLiteral("paper%1.pdf").arg(++n).toLatin1().constData());
        QPageLayout started;
        print(pdf, 1, QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
            started = d.printer()->pageLayout();
            d.printer()->setPageSize(QPageSize(c.paper));
            d.printer()->setPageOrientation(c.orientation);
        });
        EXPECT_EQ(started.pageSize().id(), QPageSize::A4) << c.what;
        EXPECT_EQ(started.orientation(), QPageLayout::Portrait) << c.what;
        ASSERT_EQ(boxes.shown().size(), c.answer ? 1u : 0u) << c.what;
        if (c.answer) {
            EXPECT_EQ(boxes.shown()[0].text, resources::loadString(resources::ids::PrintPaperTooSmall));
            EXPECT_EQ(boxes.shown()[0].buttons, platform::MbButtons::YesNo);
        }
        EXPECT_EQ(QFileInfo::exists(pdf), c.printed) << c.what;
        EXPECT_EQ(spy.statuses.isEmpty(), !c.printed) << c.what;
    }
}

TEST_F(PrintCommandTest, TheDialogStartsWithTheFormatsPaperUpright)
{
    CardFormat letter = CardFormatCatalog().format(0);
    letter.paperWidth = 216;
    letter.paperHeight = 279;
    letter.rows = 4;
    useFormat(letter);
    MessageBoxScript boxes;
    QPageLayout started;
    print(path("letter.pdf"), 1, QDialog::Rejected, [&](print::AdjustPrintDlg& d) { started = d.printer()->pageLayout(); });
    EXPECT_EQ(started.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(started.orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(boxes.shown().empty());
}

// The sheet itself is pinned by its own tests; it shows no progress as the cards do.
TEST_F(PrintCommandTest, TheCalibrationButtonPrintsTheSheetInsteadOfTheCards)
{
    MessageBoxScript boxes;
    ProgressSpy spy;
    print(path("calibration.pdf"), 1, QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        d.offsetXEdit()->setText(QStringLiteral("-3"));
        d.offsetYEdit()->setText(QStringLiteral("4"));
        d.calibrateButton()->click();
    });
    EXPECT_TRUE(boxes.shown().empty());
    // The offsets were taken, yet the sheet prints without them.
    EXPECT_EQ(platform::appSettings().adjustX(), -3);
    EXPECT_EQ(platform::appSettings().adjustY(), 4);
    EXPECT_TRUE(QFileInfo::exists(path("calibration.pdf")));
    EXPECT_TRUE(spy.statuses.isEmpty());
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
    ProgressSpy spy;
    QStringList shown;
    print(path("team.pdf"), 1, QDialog::Accepted, [&](print::AdjustPrintDlg& d) {
        print::PrintListBox& list = *d.listBox();
        // A list whose columns do not fill the card is refused and names what it lacks.
        testsupport::FileDialogScript files({path("people.csv"), path("other.csv"), path("people.csv")});
        list.chooseButton()->click();
        ASSERT_NE(d.list(), nullptr);
        list.clearButton()->click();
        EXPECT_EQ(d.list(), nullptr);
        EXPECT_EQ(list.statusLabel()->text(), QString());
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
        // The preview's job is the one that prints.
        EXPECT_EQ(d.preview()->job().list, d.list());
        EXPECT_EQ(d.preview()->job().sheets, 3);
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("リストに 「なまえ」 の こうもくが ないよ"));
    EXPECT_EQ(shown, QStringList({"15まい・2シート", "15まい・3シート", "30まい・4シート"}));

    // Four people fill positions 7 to 10 of the first sheet, ten the second, one the third.
    EXPECT_EQ(spy.total, 15);
    for (const char* last : {"1/3 ﾍﾟｰｼﾞ、4/4･･･", "2/3 ﾍﾟｰｼﾞ、10/10･･･", "3/3 ﾍﾟｰｼﾞ、1/1･･･"})
        EXPECT_TRUE(spy.statuses.contains(QString::fromUtf8(last))) << last;
}
