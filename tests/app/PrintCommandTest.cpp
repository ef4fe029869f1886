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
    // The page count pdfinfo reads.
    bool hasPages(const char* pdf, int n)
    {
        return tool(QStringLiteral("pdfinfo"), {path(pdf)}).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\n").arg(n)));
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

TEST_F(PrintCommandTest, OnlyOneWithThreeCopiesPrintsThreeSheetsOfOneCard)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    MessageBoxScript boxes;
    ProgressSpy spy;
    print(path("one.pdf"), 3, QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        d.offsetXEdit()->setText(QStringLiteral("-1"));
        d.offsetYEdit()->setText(QStringLiteral(" 1"));
        d.onlyOneBox()->setChecked(true);
    });
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(hasPages("one.pdf", 3));
    for (int page = 1; page <= 3; ++page) {
        // The corner lies 23 pixels left of and 24 below the format's first card.
        const QImage strip = rasterise(path("one.pdf"), page, 600, QRect(0, 0, 4961, 1700));
        EXPECT_EQ(starts(strip, 290, true, isRed), std::vector<int>{308}) << page;
        EXPECT_EQ(starts(strip, 320, false, isRed), std::vector<int>{284}) << page;
    }
    // Only the cards printed count.
    EXPECT_EQ(spy.statuses, (QStringList{"印刷開始･･･", "1/3 ﾍﾟｰｼﾞ、1/1･･･", "2/3 ﾍﾟｰｼﾞ、1/1･･･",
                                         "3/3 ﾍﾟｰｼﾞ、1/1･･･", "印刷終了"}));
    EXPECT_EQ(spy.progress, 3);
    EXPECT_EQ(spy.total, 3);
}

TEST_F(PrintCommandTest, TheStartPositionPrintsTheFirstCardThereOrIsRefused)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    MessageBoxScript boxes;
    ProgressSpy spy;
    print(path("start.pdf"), 2, QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        EXPECT_EQ(d.startEdit()->text(), QStringLiteral("1"));
        d.startEdit()->setText(QStringLiteral("10"));
        d.onlyOneBox()->setChecked(true);
    });
    EXPECT_TRUE(boxes.shown().empty());
    // Position 10 is the bottom right of "名刺10面 A4"; the second sheet starts at 1.
    const std::vector<int> columns[] = {{2481}, {331}};
    const std::vector<int> rows[] = {{5456}, {260}};
    for (int page = 1; page <= 2; ++page) {
        const QImage row = rasterise(path("start.pdf"), page, 600, QRect(0, rows[page - 1][0] + 60, 4961, 1));
        const QImage column = rasterise(path("start.pdf"), page, 600, QRect(columns[page - 1][0] + 60, 0, 1, 7016));
        EXPECT_EQ(starts(row, 0, true, isRed), columns[page - 1]) << page;
        EXPECT_EQ(starts(column, 0, false, isRed), rows[page - 1]) << page;
    }
    EXPECT_EQ(spy.total, 2);

    // Beyond the last position: a message, and nothing printed.
    print(path("far.pdf"), 1, QDialog::Accepted, [](print::AdjustPrintDlg& d) { d.startEdit()->setText(QStringLiteral("11")); });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("はじめのいち は 1 から 10 までに してね"));
    EXPECT_FALSE(QFileInfo::exists(path("far.pdf")));
}

TEST_F(PrintCommandTest, TheJobIsNamedAfterTheCardsFile)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    const struct {
        const char* savedAs; // nothing: a card never saved
        const char* title;
    } cases[] = {{nullptr, "Pelmora"}, {"わたしの めいし.pmr", "わたしの めいし.pmr"}};
    for (const auto& c : cases) {
        MessageBoxScript boxes;
        if (c.savedAs) {
            ASSERT_TRUE(dlg->saveDocument(dir.filePath(QString::fromUtf8(c.savedAs))));
        }
        print(path("named.pdf"), 1, QDialog::Accepted);
        const QString info = tool(QStringLiteral("pdfinfo"), {path("named.pdf")});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title: +%1\\n")
                                                         .arg(QRegularExpression::escape(QString::fromUtf8(c.title))))))
            << info.toStdString();
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

TEST_F(PrintCommandTest, TheCalibrationButtonPrintsTheSheetWhereTheOffsetsDoNotMoveIt)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    MessageBoxScript boxes;
    print(path("calibration.pdf"), 1, QDialog::Accepted, [](print::AdjustPrintDlg& d) {
        d.offsetXEdit()->setText(QStringLiteral("-3"));
        d.offsetYEdit()->setText(QStringLiteral("4"));
        d.calibrateButton()->click();
    });
    EXPECT_TRUE(boxes.shown().empty());
    // The offsets were taken, yet the sheet ignores them.
    EXPECT_EQ(platform::appSettings().adjustX(), -3);
    EXPECT_EQ(platform::appSettings().adjustY(), 4);
    EXPECT_TRUE(hasPages("calibration.pdf", 1));

    // The first card's top-left corner of "名刺10面 A4": the ruler's -5, 0, +5 ticks
    // 1.5 mm above the corner, and the card's red mark absent.
    const auto px600 = [](double mm) { return int(std::lround(mm * 600 / 25.4)); };
    const QImage corner = rasterise(path("calibration.pdf"), 1, 600, QRect(0, 0, px600(40), px600(30)));
    ASSERT_FALSE(corner.isNull());
    const std::vector<int> ticks = starts(corner, px600(11 - 1.5), true, isDark);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[1], px600(14), 1);
    EXPECT_NEAR(ticks[2] - ticks[1], 118, 1);
    EXPECT_EQ(starts(corner, px600(14 - 1.5), false, isDark).size(), 3u);
    EXPECT_EQ(count(corner, corner.rect(), isRed), 0);
}

TEST_F(PrintCommandTest, AListChosenInThePanelPrintsOneCardPerPersonOrIsRefusedWithTheMissingColumn)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    auto text = std::make_unique<ObjItemText>();
    text->SetText(platform::toCp932(QStringLiteral("{{なまえ}}")));
    text->SetFontSize(20);
    text->x = 400;
    text->y = 400;
    dlg->page().append(std::move(text));
    QString people = QStringLiteral("なまえ,TEL\n");
    for (int i = 1; i <= 15; ++i)
        people += QStringLiteral("P%1,03\n").arg(i, 2, 10, QLatin1Char('0'));
    {
        QFile f(path("people.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(people.toUtf8());
        QFile g(path("other.csv"));
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("NAME\nP01\n");
    }

    MessageBoxScript boxes;
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

    // Four people fill positions 7 to 10 of the first sheet, ten the second.
    ASSERT_TRUE(hasPages("team.pdf", 3));
    const auto names = [this](int page) {
        const QString t = tool(QStringLiteral("pdftotext"), {"-f", QString::number(page), "-l", QString::number(page),
                                                             path("team.pdf"), "-"});
        QStringList found;
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("P\\d\\d")).globalMatch(t))
            found << m.captured();
        return found;
    };
    EXPECT_EQ(names(1), QStringList({"P01", "P02", "P03", "P04"}));
    EXPECT_EQ(names(2), QStringList({"P05", "P06", "P07", "P08", "P09", "P10", "P11", "P12", "P13", "P14"}));
    EXPECT_EQ(names(3), QStringList({"P15"}));
}
