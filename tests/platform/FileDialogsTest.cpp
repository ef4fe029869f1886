#include "ui/FileDialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
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
TEST(FileDialogFilters, AllFilesListsNamesWithoutAnExtension)
{
    QTemporaryDir dir;
    for (const char* name : {"card.pmr", "README"})
        QFile(dir.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ui::FileDialogRequest request;
    request.initialDir = dir.path();
    request.filter = QString::fromUtf8(kDocumentFilter);
    ui::setUpFileDialog(dialog, request);

    auto* types = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s);
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), u"PMR ﾌｧｲﾙ (*.pmr)"_s);
    EXPECT_EQ(types->itemText(1), u"All Files (*.*)"_s);
    dialog.selectNameFilter(dialog.nameFilters().at(1));
    auto* list = dialog.findChild<QAbstractItemView*>(u"listView"_s);
    ASSERT_NE(list, nullptr);
    QStringList shown;
    QElapsedTimer timer;
    timer.start();
    while (shown.size() < 2 && timer.elapsed() < 5000) {
        QTest::qWait(20);
        shown.clear();
        for (int i = 0; i < list->model()->rowCount(list->rootIndex()); ++i)
            shown << list->model()->index(i, 0, list->rootIndex()).data().toString();
    }
    shown.sort();
    EXPECT_EQ(shown.join(u' ').toStdString(), "README card.pmr");
}
#endif

} // namespace
