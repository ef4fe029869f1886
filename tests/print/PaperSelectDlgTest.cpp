// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "printui/PaperSelectDlg.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <optional>

#include <gtest/gtest.h>

using print::FormatCreateDlg;
using print::FormatListBox;
using print::PaperSelectDlg;

namespace {

// Built-in, built-in, one folder format, then the user's A, B and C.
class PaperSelectDlgTest : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        file(QStringLiteral("cardfmt/f.cf"), "folder,210,297,91,55,2,5,14,11,0,0,\r\n");
        catalog.loadFolderFormats(dir.path());
        catalog.loadFile(dir.path());
        for (const char* name : {"A", "B", "C"})
            catalog.append(CardFormat{name, 210, 297, 80, 55, 2, 5, 14, 11, 0, 0});
        dlg = std::make_unique<PaperSelectDlg>(catalog);
    }

    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < dlg->list()->count(); ++r)
            out << QStringLiteral("%1=%2").arg(dlg->list()->item(r)->text()).arg(dlg->list()->formatIndex(r));
        return out;
    }
    // A right-click on a row whose menu answers with the item `choose` (0: none).
    // Returns whether the menu's two items were enabled, or "" when no menu showed.
    QString rightClick(int row, int choose)
    {
        QString enabled;
        FormatListBox* list = dlg->list();
        list->setMenuRunner([&](QMenu& menu, const QPoint&) -> QAction* {
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                enabled += a->isSeparator() ? "" : a->isEnabled() ? "on " : "off ";
                chosen = a->data().toInt() == choose ? a : chosen;
            }
            return chosen;
        });
        const QPoint at = row < list->count() ? list->visualItemRect(list->item(row)).center()
                                              : QPoint(5, list->viewport()->height() - 3);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        return enabled.trimmed();
    }
    void press(int id) { QTest::mouseClick(dlg->itemAs<QPushButton>(id), Qt::LeftButton); }
    // The format dialog, once it shows, takes a name and presses OK; shows the name it opened with.
    void answerFormat(const QString& name, QString* shownName = nullptr)
    {
        format.emplace(&FormatCreateDlg::setProvider, testsupport::clicking<FormatCreateDlg>([=](FormatCreateDlg& d) {
            if (shownName)
                *shownName = d.field(FormatCreateDlg::kName)->text();
            d.field(FormatCreateDlg::kName)->setText(name);
        }));
    }

    CardFormatCatalog catalog;
    std::unique_ptr<PaperSelectDlg> dlg;
    std::optional<testsupport::Override<FormatCreateDlg::Provider>> format;
};

} // namespace

TEST_F(PaperSelectDlgTest, RowsShowEveryFormatWithItsIndexAndOkOrADoubleClickChoosesOne)
{
    EXPECT_EQ(rows(), QStringList({"名刺10面 A4=0", "名刺 8面 A4=1", "folder=2", "A=3", "B=4", "C=5"}));
    EXPECT_EQ(dlg->list()->currentRow(), 0);
    dlg->list()->setCurrentRow(4);
    press(2);
    EXPECT_EQ(catalog.current(), 0);
    press(1);
    EXPECT_EQ(catalog.current(), 4);

    FormatListBox* list = dlg->list();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(std::tuple(dlg->result(), catalog.current()), std::tuple(QDialog::Accepted, 1));
}

TEST_F(PaperSelectDlgTest, BuiltInAndFolderRowsShowTheMenuGreyedAndCannotBeDeleted)
{
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rightClick(row, FormatListBox::kDelete), QStringLiteral("off off")) << row;
        EXPECT_EQ(dlg->list()->currentRow(), row);
        dlg->list()->commandChosen(FormatListBox::kDelete); // refused even when it arrives
    }
    EXPECT_EQ(catalog.count(), 6);
    EXPECT_EQ(rightClick(3, 0), QStringLiteral("on on"));
    EXPECT_EQ(rightClick(6, FormatListBox::kDelete), QString()); // below the rows: no menu
    EXPECT_EQ(dlg->list()->currentRow(), 3);
}

// Deletions followed by Cancel leave the current format existing.
TEST_F(PaperSelectDlgTest, EditAndDeleteKeepEveryRowOnItsOwnFormatAfterDeletions)
{
    catalog.setCurrent(5); // C
    rightClick(4, FormatListBox::kDelete); // B
    EXPECT_EQ(std::tuple(rows().mid(3), dlg->list()->currentRow()), std::tuple(QStringList({"A=3", "C=4"}), 0));
    press(2);
    EXPECT_EQ(catalog.currentFormat().name, QByteArray("C"));

    QString shown;
    answerFormat(QStringLiteral("C2"), &shown);
    rightClick(4, FormatListBox::kEdit);
    EXPECT_EQ(shown, QStringLiteral("C"));
    EXPECT_EQ(catalog.format(4).name + catalog.format(3).name, QByteArray("C2A"));
    EXPECT_EQ(rows().mid(3), QStringList({"A=3", "C2=4"}));

    rightClick(4, FormatListBox::kDelete); // the current one
    press(2);
    EXPECT_EQ(std::tuple(catalog.count(), catalog.format(3).name, platform::fromCp932(catalog.currentFormat().name)),
              std::tuple(4, "A", QStringLiteral("名刺10面 A4")));
}

TEST_F(PaperSelectDlgTest, AFormatAddedIsListedAndChosenAndACancelledOneIsNot)
{
    press(PaperSelectDlg::kOther); // cancelled
    EXPECT_EQ(catalog.count(), 6);
    answerFormat(QStringLiteral("new"));
    press(PaperSelectDlg::kOther);
    EXPECT_EQ(std::tuple(rows().last(), dlg->list()->currentRow()), std::tuple(QStringLiteral("new=6"), 6));
}
