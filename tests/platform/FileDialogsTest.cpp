// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const char* const kDocumentFilter = "PMR ﾌｧｲﾙ (*.pmr) |*.pmr|All Files (*.*)|*.*||";

TEST(FileDialogFilters, PairsBecomeQtFiltersShowingTheGivenLabels)
{
#ifdef Q_OS_WIN
    const QString all = u"All Files (*.*) (*.*)"_s;
#else
    const QString all = u"All Files (*.*) (*)"_s; // "*.*" would leave out names without a dot
#endif
    const std::pair<const char*, QString> cases[] = {
        {kDocumentFilter, u"PMR ﾌｧｲﾙ (*.pmr) (*.pmr);;"_s + all},
        {"Pictures|*.bmp; *.dib|", u"Pictures (*.bmp *.dib) (*.bmp *.dib)"_s},
        {"Odd (*.x)|*.y;*.*.bak||Never|*.z||", u"Odd (*.y *.*.bak) (*.y *.*.bak)"_s},
        {"", QString()},
    };
    for (const auto& [pairs, qt] : cases)
        EXPECT_EQ(ui::qtFilterFromPairs(QString::fromUtf8(pairs)).toStdString(), qt.toStdString());
}

#ifndef Q_OS_WIN
TEST(FileDialogFilters, TheDialogShowsTheLabelsAndFiltersAllFilesWithAStar)
{
    // That "*" lists names without a dot is Qt's own affair.
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ui::FileDialogRequest request;
    request.filter = QString::fromUtf8(kDocumentFilter);
    ui::setUpFileDialog(dialog, request);
    auto* types = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s);
    ASSERT_TRUE(types && types->count() == 2);
    EXPECT_EQ((QStringList{types->itemText(0), types->itemText(1)}), (QStringList{u"PMR ﾌｧｲﾙ (*.pmr)"_s, u"All Files (*.*)"_s}));
    EXPECT_EQ(dialog.nameFilters().value(1).toStdString(), "All Files (*.*) (*)");
}
#endif

} // namespace
