// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pixels.h"
#include "TestSupport.h"
#include "printui/FormatCreateDlg.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>

using print::FormatCreateDlg;
using print::FormatDiagram;
using testsupport::MessageBoxScript;
using Id = FormatCreateDlg::Id;

namespace {

// Replaces a box's text key by key, also outside ASCII.
void type(FormatCreateDlg& dlg, int id, const QString& text)
{
    QLineEdit* box = dlg.field(id);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Presses OK; returns the texts of the messages it showed.
QStringList pressOk(FormatCreateDlg& dlg)
{
    MessageBoxScript boxes;
    QTest::mouseClick(dlg.itemAs<QPushButton>(1), Qt::LeftButton);
    QStringList texts;
    for (const ui::MessageBoxRequest& r : boxes.shown())
        texts << r.text + (r.icon == platform::MbIcon::Exclamation ? QStringLiteral(" !") : QString());
    return texts;
}

} // namespace

TEST(FormatCreateDlg, OkReadsEveryBoxAndRefusesCardsThatDoNotFitThePaper)
{
    const int ids[] = {Id::kPaperWidth, Id::kPaperHeight, Id::kCardWidth, Id::kCardHeight, Id::kColumns,
                       Id::kRows,       Id::kLeftMargin,  Id::kTopMargin, Id::kGapX,       Id::kGapY};
    // 8 + 3 × 60 + 2 × 11 is 210 across, 13 + 4 × 50 + 3 × 28 is 297 down: a millimetre more gap is too much.
    const struct { int gapX, gapY; bool fits; } cases[] = {{11, 28, true}, {12, 28, false}, {11, 29, false}};
    for (const auto& c : cases) {
        FormatCreateDlg dlg(CardFormat{"fit", 1000, 1000, 10, 10, 1, 1, 0, 0, 0, 0});
        const int values[] = {210, 297, 60, 50, 3, 4, 8, 13, c.gapX, c.gapY};
        for (int i = 0; i < 10; ++i)
            type(dlg, ids[i], QString::number(values[i]));
        EXPECT_EQ(pressOk(dlg), c.fits ? QStringList() : QStringList{"たて か よこ の サイズがあわないよ"}) << c.gapX << " " << c.gapY;
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.fits);
        if (c.fits) {
            EXPECT_EQ(dlg.format(), (CardFormat{"fit", 210, 297, 60, 50, 3, 4, 8, 13, 11, 28}));
        }
    }
}

TEST(FormatCreateDlg, OkRefusesAMissingNameANonNumberAndANameTooLong)
{
    FormatCreateDlg fresh;
    EXPECT_EQ(pressOk(fresh), QStringList{"なまえを つけてね"});
    type(fresh, Id::kName, QStringLiteral("a,b"));
    type(fresh, Id::kTopMargin, QString());
    fresh.field(Id::kName)->setFocus();
    EXPECT_EQ(pressOk(fresh), QStringList{"整数を入力してください。 !"});
    EXPECT_EQ(fresh.focusWidget(), fresh.field(Id::kTopMargin));
    type(fresh, Id::kTopMargin, QStringLiteral("3"));
    EXPECT_EQ(pressOk(fresh), QStringList());
    CardFormat expected = FormatCreateDlg::newFormat();
    expected.name = "a,b";
    expected.topMargin = 3;
    EXPECT_EQ(fresh.format(), expected);

    // Typing skips what CP932 cannot hold; a longer name from a file is shown but refused.
    type(fresh, Id::kName, QStringLiteral("a\U00020BB7b"));
    EXPECT_EQ(fresh.field(Id::kName)->text(), QStringLiteral("ab"));
    FormatCreateDlg edit(CardFormat{QByteArray(31, 'n'), 210, 297, 91, 55, 2, 5, 14, 11, 0, 0});
    EXPECT_EQ(edit.field(Id::kName)->text(), QString(31, QLatin1Char('n')));
    EXPECT_EQ(pressOk(edit), QStringList{"30 文字以内で入力してください。 !"});
    EXPECT_EQ(edit.focusWidget(), edit.field(Id::kName));
}

// A paste keeps its whole characters that fit in 30 bytes; one of which nothing
// fits is refused, as a typed character is. A cursor of -1 pastes over all.
TEST(FormatCreateDlg, APasteIntoTheNameKeepsWhatFitsIn30Bytes)
{
    const QChar a(0x3042); // two bytes
    const QString n29(29, QLatin1Char('n')), x40(40, QLatin1Char('x'));
    const struct { QString before; int cursor; QString pasted, after; } cases[] = {
        {"abc", 3, QString(20, a), "abc" + QString(13, a)}, // the 14th would straddle byte 30
        {"ab", 1, x40, "a" + x40.left(28) + "b"},
        {n29, 29, QString(2, a), n29},
        {n29, -1, "xyz", "xyz"},
    };
    for (const auto& c : cases) {
        FormatCreateDlg dlg;
        QLineEdit* name = dlg.field(Id::kName);
        name->setText(c.before);
        if (c.cursor < 0)
            name->selectAll();
        else
            name->setCursorPosition(c.cursor);
        name->insert(c.pasted);
        EXPECT_EQ(name->text(), c.after) << c.before.toStdString() << " " << c.cursor;
    }
}

TEST(FormatCreateDlg, PresetsFollowThePaperSizeUntilAnotherIsTyped)
{
    FormatCreateDlg fresh;
    EXPECT_EQ(fresh.presetBox()->currentText(), QStringLiteral("A4 縦 (210×297)"));
    FormatCreateDlg edit(CardFormat{"odd", 200, 300, 91, 55, 2, 5, 14, 11, 0, 0});
    QComboBox* presets = edit.presetBox();
    EXPECT_EQ(presets->currentIndex(), -1);

    presets->setFocus();
    QTest::keyClick(presets, Qt::Key_End);
    EXPECT_EQ(presets->currentText(), QStringLiteral("はがき 横 (148×100)"));
    EXPECT_EQ(edit.field(Id::kPaperWidth)->text() + "x" + edit.field(Id::kPaperHeight)->text(), QStringLiteral("148x100"));
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
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(FormatCreateDlg, TheDiagramDrawsTheTypedNumbersWithTheFocusedDimensionInRed)
{
    using Mark = FormatDiagram::Mark;
    FormatCreateDlg dlg;
    FormatDiagram* diagram = dlg.diagram();
    EXPECT_EQ(diagram->size(), QSize(160, 205));
    const std::pair<int, Mark> focus[] = {
        {Id::kPaperWidth, Mark::PaperWidth}, {Id::kPaperHeight, Mark::PaperHeight}, {Id::kColumns, Mark::Counts},
        {Id::kRows, Mark::Counts},           {Id::kGapY, Mark::GapY},               {Id::kName, Mark::None},
    };
    for (const auto& [id, mark] : focus) {
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(dlg.item(id), &in);
        EXPECT_EQ(diagram->mark(), mark) << id;
    }
    type(dlg, Id::kPaperHeight, QString());
    EXPECT_EQ(diagram->format().paperHeight, 0);
    type(dlg, Id::kPaperHeight, QStringLiteral("297"));
    const QRectF sheet = diagram->sheetRect();
    EXPECT_NEAR(sheet.width() / sheet.height(), 210.0 / 297.0, 0.01);

    // Red pixels at a screen scale of 1 or 2 within an area given in widget pixels.
    const auto redIn = [&](int ratio, const QRectF& area) {
        QImage img(QSize(160, 205) * ratio, QImage::Format_RGB32);
        img.setDevicePixelRatio(ratio);
        diagram->render(&img);
        return pixels::count(img, QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect(),
                             [](QRgb c) { return qRed(c) > 180 && qGreen(c) < 80; });
    };
    const QRectF above(sheet.left(), 0, sheet.width(), sheet.top() - 1);
    const QRectF leftOf(0, sheet.top(), sheet.left() - 1, sheet.height());
    EXPECT_EQ(redIn(1, QRectF(0, 0, 160, 205)), 0);
    diagram->setMark(Mark::PaperWidth);
    EXPECT_GT(redIn(1, above), 20);
    EXPECT_EQ(redIn(1, leftOf), 0);
    diagram->setMark(Mark::PaperHeight);
    EXPECT_EQ(redIn(1, above), 0);
    // At 200 % the line is twice as long in pixels, not blurred much wider.
    const int once = redIn(1, leftOf), twice = redIn(2, leftOf);
    EXPECT_GT(once, 20);
    EXPECT_GT(twice, 3 * once);
    EXPECT_LT(twice, 6 * once);

    // Nonsense numbers still draw: the sheet within the picture, no mark flooding it.
    diagram->setFormat(CardFormat{{}, 1, INT_MAX, -5, INT_MAX, INT_MAX, -1, -INT_MAX, 0, INT_MAX, 0});
    EXPECT_TRUE(QRectF(0, 0, 160, 205).contains(diagram->sheetRect()));
    for (const Mark m : {Mark::Counts, Mark::GapX, Mark::TopMargin, Mark::CardHeight}) {
        diagram->setMark(m);
        EXPECT_LT(redIn(1, QRectF(0, 0, 160, 205)), 160 * 205 / 20) << int(m);
    }
}
