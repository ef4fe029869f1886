#include "TestSupport.h"
#include "platform/Codec.h"
#include "printui/FormatCreateDlg.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using print::FormatCreateDlg;
using print::FormatDiagram;
using testsupport::MessageBoxScript;

namespace {

using Id = FormatCreateDlg::Id;

void type(FormatCreateDlg& dlg, int id, const QString& text)
{
    QLineEdit* box = dlg.field(id);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text) // as typed, also outside ASCII
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Presses OK; returns the texts of the messages it showed.
QStringList pressOk(FormatCreateDlg& dlg, MessageBoxScript& boxes)
{
    const size_t before = boxes.shown().size();
    QTest::mouseClick(dlg.itemAs<QPushButton>(1), Qt::LeftButton);
    QStringList texts;
    for (size_t i = before; i < boxes.shown().size(); ++i)
        texts << boxes.shown()[i].text;
    return texts;
}

QString presetText(const FormatCreateDlg& dlg) { return dlg.presetBox()->currentText(); }

} // namespace

TEST(FormatCreateDlg, TheFitTestCountsGapsBetweenCardsAndTheFirstMarginOnly)
{
    const QString doesNotFit = QStringLiteral("たて か よこ の サイズがあわないよ");
    struct Case { int paper, cols, card, margin, gap; bool fits; };
    // 3 × 91 + 0 + 2 × gap against 297; one column ignores its gap: 91 + 14 = 105.
    const Case cases[] = {
        {297, 3, 91, 0, 10, true},  {297, 3, 91, 0, 12, true},  {297, 3, 91, 0, 13, false},
        {105, 1, 91, 14, 500, true}, {104, 1, 91, 14, 0, false},
    };
    for (const bool across : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (across ? "across " : "down ") << c.paper << " gap " << c.gap);
            FormatCreateDlg dlg;
            type(dlg, Id::kName, QStringLiteral("fit"));
            // The other axis holds one small card on a big sheet.
            const int tested[5] = {c.paper, c.cols, c.card, c.margin, c.gap};
            const int small[5] = {1000, 1, 10, 0, 0};
            const int* widths = across ? tested : small;
            const int* heights = across ? small : tested;
            const int ids[2][5] = {{Id::kPaperWidth, Id::kColumns, Id::kCardWidth, Id::kLeftMargin, Id::kGapX},
                                   {Id::kPaperHeight, Id::kRows, Id::kCardHeight, Id::kTopMargin, Id::kGapY}};
            for (int i = 0; i < 5; ++i) {
                type(dlg, ids[0][i], QString::number(widths[i]));
                type(dlg, ids[1][i], QString::number(heights[i]));
            }
            MessageBoxScript boxes;
            EXPECT_EQ(pressOk(dlg, boxes), c.fits ? QStringList() : QStringList{doesNotFit});
            EXPECT_EQ(dlg.result() == QDialog::Accepted, c.fits);
            if (c.fits)
                EXPECT_EQ(across ? dlg.format().gapX : dlg.format().gapY, c.gap);
            else
                EXPECT_EQ(boxes.shown()[0].icon, platform::MbIcon::None);
        }
    }
}

TEST(FormatCreateDlg, OkRefusesAMissingNameANonNumberAndANameTooLong)
{
    MessageBoxScript boxes;
    FormatCreateDlg fresh;
    EXPECT_EQ(pressOk(fresh, boxes), QStringList{QStringLiteral("なまえを つけてね")});
    EXPECT_NE(fresh.result(), QDialog::Accepted);

    type(fresh, Id::kName, QStringLiteral("a,b"));
    type(fresh, Id::kTopMargin, QString());
    EXPECT_EQ(pressOk(fresh, boxes), QStringList{QStringLiteral("整数を入力してください。")});
    EXPECT_EQ(boxes.shown().back().icon, platform::MbIcon::Exclamation);
    EXPECT_EQ(fresh.focusWidget(), fresh.field(Id::kTopMargin));
    type(fresh, Id::kTopMargin, QStringLiteral("3"));
    EXPECT_EQ(pressOk(fresh, boxes), QStringList());
    CardFormat expected = FormatCreateDlg::newFormat();
    expected.name = "a,b";
    expected.topMargin = 3;
    EXPECT_EQ(fresh.format(), expected);

    // Typing stops at 30 bytes; a longer name from a file is shown but refused.
    type(fresh, Id::kName, QString(20, QChar(0x3042)));
    EXPECT_EQ(platform::toCp932(fresh.field(Id::kName)->text()).size(), 30);
    CardFormat fromFile = FormatCreateDlg::newFormat();
    fromFile.name = QByteArray(31, 'n');
    FormatCreateDlg edit(fromFile);
    EXPECT_EQ(edit.field(Id::kName)->text(), QString(31, QLatin1Char('n')));
    EXPECT_EQ(pressOk(edit, boxes), QStringList{QStringLiteral("30 文字以内で入力してください。")});
    EXPECT_EQ(edit.focusWidget(), edit.field(Id::kName));
}

TEST(FormatCreateDlg, PresetsFollowThePaperSizeUntilAnotherIsTyped)
{
    FormatCreateDlg fresh;
    EXPECT_EQ(presetText(fresh), QStringLiteral("A4 縦 (210×297)"));
    CardFormat odd = FormatCreateDlg::newFormat();
    odd.paperWidth = 200;
    odd.paperHeight = 300;
    FormatCreateDlg edit(odd);
    EXPECT_EQ(edit.presetBox()->currentIndex(), -1);
    EXPECT_EQ(edit.field(Id::kPaperWidth)->text(), QStringLiteral("200"));

    QComboBox* presets = edit.presetBox();
    presets->setFocus();
    QTest::keyClick(presets, Qt::Key_End);
    EXPECT_EQ(presetText(edit), QStringLiteral("はがき 横 (148×100)"));
    EXPECT_EQ(edit.field(Id::kPaperWidth)->text(), QStringLiteral("148"));
    EXPECT_EQ(edit.field(Id::kPaperHeight)->text(), QStringLiteral("100"));
    type(edit, Id::kPaperWidth, QStringLiteral("149"));
    EXPECT_EQ(presets->currentIndex(), -1);
    type(edit, Id::kPaperWidth, QStringLiteral("148"));
    EXPECT_EQ(presets->currentIndex(), -1);
}

TEST(FormatCreateDlg, EnterIsIgnoredEverywhereAndEscapeCancels)
{
    FormatCreateDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    type(dlg, Id::kName, QStringLiteral("x"));
    MessageBoxScript boxes;
    for (const int id : {int(Id::kName), int(Id::kGapY), 1}) {
        QWidget* w = dlg.item(id);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
        EXPECT_TRUE(dlg.isVisible()) << id;
        EXPECT_EQ(dlg.focusWidget(), w) << id;
    }
    EXPECT_TRUE(boxes.shown().empty());
    QTest::keyClick(dlg.field(Id::kName), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(FormatCreateDlg, TheDiagramMarksTheFocusedDimensionInRedFromTheTypedNumbers)
{
    using Mark = FormatDiagram::Mark;
    FormatCreateDlg dlg;
    FormatDiagram* diagram = dlg.diagram();
    EXPECT_EQ(diagram->size(), QSize(160, 205));
    const std::pair<int, Mark> focus[] = {
        {Id::kPaperWidth, Mark::PaperWidth}, {Id::kPaperHeight, Mark::PaperHeight},
        {Id::kCardWidth, Mark::CardWidth},   {Id::kCardHeight, Mark::CardHeight},
        {Id::kColumns, Mark::Counts},        {Id::kRows, Mark::Counts},
        {Id::kLeftMargin, Mark::LeftMargin}, {Id::kTopMargin, Mark::TopMargin},
        {Id::kGapX, Mark::GapX},             {Id::kGapY, Mark::GapY},
        {Id::kName, Mark::None},
    };
    for (const auto& [id, mark] : focus) {
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(dlg.item(id), &in);
        EXPECT_EQ(diagram->mark(), mark) << id;
    }
    type(dlg, Id::kPaperWidth, QStringLiteral("297"));
    type(dlg, Id::kPaperHeight, QString());
    EXPECT_EQ(diagram->format().paperWidth, 297);
    EXPECT_EQ(diagram->format().paperHeight, 0);
}

TEST(FormatDiagram, RedLinesLieWhereTheirDimensionIsAndStayCrispWhenScaled)
{
    using Mark = FormatDiagram::Mark;
    FormatDiagram diagram;
    diagram.setFormat(FormatCreateDlg::newFormat()); // A4, 2 × 5 cards
    const QRectF sheet = diagram.sheetRect();
    EXPECT_NEAR(sheet.width() / sheet.height(), 210.0 / 297.0, 0.01);

    const auto redIn = [&](int ratio, const QRectF& area) {
        QImage img(QSize(160, 205) * ratio, QImage::Format_RGB32);
        img.setDevicePixelRatio(ratio);
        diagram.render(&img);
        int red = 0;
        const QRect px = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect() & img.rect();
        for (int y = px.top(); y <= px.bottom(); ++y)
            for (int x = px.left(); x <= px.right(); ++x)
                red += qRed(img.pixel(x, y)) > 180 && qGreen(img.pixel(x, y)) < 80;
        return red;
    };
    const QRectF above(sheet.left(), 0, sheet.width(), sheet.top() - 1);
    const QRectF leftOf(0, sheet.top(), sheet.left() - 1, sheet.height());
    const QRectF all(0, 0, 160, 205);
    EXPECT_EQ(redIn(1, all), 0);
    diagram.setMark(Mark::PaperWidth);
    EXPECT_GT(redIn(1, above), 20);
    EXPECT_EQ(redIn(1, leftOf), 0);
    diagram.setMark(Mark::PaperHeight);
    EXPECT_GT(redIn(1, leftOf), 20);
    EXPECT_EQ(redIn(1, above), 0);
    // At 200 % the same line covers about twice the pixels along its length, not blurred wider.
    const int once = redIn(1, leftOf);
    const int twice = redIn(2, leftOf);
    EXPECT_GT(twice, 3 * once);
    EXPECT_LT(twice, 6 * once);

    // Nonsense numbers draw without trouble.
    diagram.setFormat(CardFormat{{}, 1, 2147483647, -5, 2147483647, 2147483647, -1, -2147483647, 0, 2147483647, 0});
    for (const Mark m : {Mark::Counts, Mark::GapX, Mark::TopMargin, Mark::CardHeight})
        diagram.setMark(m), redIn(1, all);
}
