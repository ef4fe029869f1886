#include "TestSupport.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "printui/PaperSelectDlg.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using print::FormatCreateDlg;
using print::FormatListBox;
using print::PaperSelectDlg;

namespace {

CardFormat userFormat(const char* name, int cardWidth)
{
    CardFormat f = FormatCreateDlg::newFormat();
    f.name = name;
    f.cardWidth = cardWidth;
    return f;
}

// Built-in, built-in, one folder format, then the user's A, B and C.
class PaperSelectDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkdir(QStringLiteral("cardfmt"));
        QFile cf(dir.filePath(QStringLiteral("cardfmt/f.cf")));
        ASSERT_TRUE(cf.open(QIODevice::WriteOnly));
        cf.write("folder,210,297,91,55,2,5,14,11,0,0,\r\n");
        cf.close();
        catalog.loadFolderFormats(dir.path());
        catalog.loadFile(dir.path());
        for (const auto& [name, width] : {std::pair{"A", 80}, {"B", 81}, {"C", 82}})
            catalog.append(userFormat(name, width));
        ASSERT_EQ(catalog.fixedCount(), 3);
    }
    void TearDown() override { FormatCreateDlg::setProvider(previous); }

    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < dlg->list()->count(); ++r)
            out << QStringLiteral("%1=%2").arg(dlg->list()->item(r)->text()).arg(dlg->list()->formatIndex(r));
        return out;
    }
    // A right-click on a row; the menu answers with the item `choose` (0: none) and
    // reports whether its two items were enabled. Returns "" when no menu showed.
    QString rightClick(int row, int choose)
    {
        QString enabled;
        dlg->list()->setMenuRunner([&](QMenu& menu, const QPoint&) -> QAction* {
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                if (a->isSeparator())
                    continue;
                enabled += a->isEnabled() ? QStringLiteral("on ") : QStringLiteral("off ");
                if (a->data().toInt() == choose)
                    chosen = a;
            }
            return chosen;
        });
        FormatListBox* list = dlg->list();
        const QPoint at = row < list->count() ? list->visualItemRect(list->item(row)).center()
                                              : QPoint(5, list->viewport()->height() - 3);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        return enabled.trimmed();
    }
    // The format dialog, once it shows, takes a name and a card width and presses OK.
    void answerFormat(const QString& name, int cardWidth, QString* shownName = nullptr)
    {
        FormatCreateDlg::setProvider([=](FormatCreateDlg& d) {
            if (shownName)
                *shownName = d.field(FormatCreateDlg::kName)->text();
            d.field(FormatCreateDlg::kName)->setText(name);
            d.field(FormatCreateDlg::kCardWidth)->setText(QString::number(cardWidth));
            QTest::mouseClick(d.itemAs<QPushButton>(1), Qt::LeftButton);
            return d.result();
        });
    }
    void open() { dlg = std::make_unique<PaperSelectDlg>(catalog); }

    QTemporaryDir dir;
    CardFormatCatalog catalog;
    std::unique_ptr<PaperSelectDlg> dlg;
    FormatCreateDlg::Provider previous = FormatCreateDlg::setProvider({});
};

} // namespace

TEST_F(PaperSelectDlgTest, RowsShowEveryFormatWithItsIndexAndOkChoosesTheSelectedOne)
{
    catalog.setCurrent(4);
    open();
    EXPECT_EQ(rows(), QStringList({"名刺10面 A4=0", "名刺 8面 A4=1", "folder=2", "A=3", "B=4", "C=5"}));
    EXPECT_EQ(dlg->list()->currentRow(), 4);
    dlg->list()->setCurrentRow(5);
    QTest::mouseClick(dlg->itemAs<QPushButton>(2), Qt::LeftButton);
    EXPECT_EQ(catalog.current(), 4);

    open();
    dlg->list()->clearSelection();
    QTest::mouseClick(dlg->itemAs<QPushButton>(1), Qt::LeftButton);
    EXPECT_EQ(catalog.current(), 4); // no selection leaves it
    open();
    FormatListBox* list = dlg->list();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(catalog.current(), 1);
}

TEST_F(PaperSelectDlgTest, BuiltInAndFolderRowsShowTheMenuGreyedAndCannotBeDeleted)
{
    open();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rightClick(row, FormatListBox::kDelete), QStringLiteral("off off")) << row;
        EXPECT_EQ(dlg->list()->currentRow(), row);
        dlg->list()->commandChosen(FormatListBox::kDelete); // refused even when it arrives
        dlg->list()->commandChosen(FormatListBox::kEdit);
    }
    EXPECT_EQ(catalog.count(), 6);
    EXPECT_EQ(rightClick(3, 0), QStringLiteral("on on"));
    dlg->list()->setCurrentRow(5);
    EXPECT_EQ(rightClick(6, FormatListBox::kDelete), QString()); // below the rows: no menu
    EXPECT_EQ(dlg->list()->currentRow(), 5);
    EXPECT_EQ(catalog.count(), 6);
}

TEST_F(PaperSelectDlgTest, EditAndDeleteKeepEveryRowOnItsOwnFormatAfterDeletions)
{
    open();
    rightClick(4, FormatListBox::kDelete); // B
    EXPECT_EQ(rows(), QStringList({"名刺10面 A4=0", "名刺 8面 A4=1", "folder=2", "A=3", "C=4"}));
    EXPECT_EQ(dlg->list()->currentRow(), 0);

    QString shown;
    answerFormat(QStringLiteral("C2"), 70, &shown);
    rightClick(4, FormatListBox::kEdit);
    EXPECT_EQ(shown, QStringLiteral("C"));
    EXPECT_EQ(catalog.format(4).name, QByteArray("C2"));
    EXPECT_EQ(catalog.format(4).cardWidth, 70);
    EXPECT_EQ(catalog.format(3).name, QByteArray("A"));
    EXPECT_EQ(rows().last(), QStringLiteral("C2=4"));
    EXPECT_EQ(dlg->list()->currentRow(), 4);

    rightClick(4, FormatListBox::kDelete);
    EXPECT_EQ(catalog.count(), 4);
    EXPECT_EQ(catalog.format(3).name, QByteArray("A"));
}

TEST_F(PaperSelectDlgTest, AFormatAddedStaysChosenWhenTheDialogIsCancelled)
{
    open();
    answerFormat(QStringLiteral("new"), 60);
    QTest::mouseClick(dlg->itemAs<QPushButton>(PaperSelectDlg::kOther), Qt::LeftButton);
    EXPECT_EQ(rows().last(), QStringLiteral("new=6"));
    EXPECT_EQ(dlg->list()->currentRow(), 6);
    QTest::mouseClick(dlg->itemAs<QPushButton>(2), Qt::LeftButton);
    EXPECT_EQ(catalog.count(), 7);
    EXPECT_EQ(catalog.current(), 6);
    EXPECT_EQ(catalog.currentFormat().cardWidth, 60);

    // The format dialog cancelled adds nothing.
    open();
    FormatCreateDlg::setProvider([](FormatCreateDlg&) { return int(QDialog::Rejected); });
    QTest::mouseClick(dlg->itemAs<QPushButton>(PaperSelectDlg::kOther), Qt::LeftButton);
    EXPECT_EQ(catalog.count(), 7);
    EXPECT_EQ(dlg->list()->count(), 7);
}

TEST_F(PaperSelectDlgTest, DeletionsFollowedByCancelLeaveTheCurrentFormatExisting)
{
    catalog.setCurrent(5); // C
    open();
    rightClick(4, FormatListBox::kDelete); // B, before it
    QTest::mouseClick(dlg->itemAs<QPushButton>(2), Qt::LeftButton);
    EXPECT_EQ(catalog.currentFormat().name, QByteArray("C"));

    open();
    rightClick(4, FormatListBox::kDelete); // C itself
    QTest::mouseClick(dlg->itemAs<QPushButton>(2), Qt::LeftButton);
    EXPECT_EQ(catalog.current(), 0);
    EXPECT_EQ(catalog.count(), 4);
}
