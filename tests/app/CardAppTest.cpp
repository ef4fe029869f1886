// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "app/CardApp.h"
#include "app/CardEditorDlg.h"
#include "platform/AppDirectory.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "print/CardFormatCatalog.h"
#include "printui/AdjustPrintDlg.h"
#include "ui/PrintDialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>

#include <tuple>

namespace {

// A fresh application directory, settings file and catalogue for each test.
class CardAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(appDir.isValid() && other.isValid());
        catalog = CardFormatCatalog();
    }
    void TearDown() override { catalog = CardFormatCatalog(); }
    // A start of the program on a fresh catalogue, prepared; installed in binDir when given.
    std::unique_ptr<CardApp> start(const QString& binDir = {})
    {
        catalog = CardFormatCatalog();
        auto app = std::make_unique<CardApp>(platform::SettingsStore::fromFile(settingsPath));
        if (binDir.isEmpty())
            app->prepare();
        else
            app->prepare(platform::resolveAppDirectory(platform::lookupAppDirectory(binDir), binDir));
        return app;
    }
    int stored(const char* key) const { return QSettings(settingsPath, QSettings::IniFormat).value(key).toInt(); }

    QTemporaryDir appDir;
    QTemporaryDir other;
    const QString settingsPath = other.filePath(QStringLiteral("settings.ini"));
    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    platform::AppSettings& settings = platform::appSettings();
    testsupport::ScopedCwd cwd; // not const: clang 14 refuses a const one with a defaulted constructor
    const testsupport::ScopedEnv appDirEntry{"NURELPAD_APPDIR", appDir.path()};
};

TEST_F(CardAppTest, AFreshStartWritesEverythingAtExitAndTheNextStartUsesIt)
{
    auto first = start();
    EXPECT_EQ(std::tuple(settings.appDir(), catalog.count(), first->createEditor(QString())->page().cardWidth),
              std::tuple(QDir(appDir.path()).absolutePath(), 2, 91));
    QDir::setCurrent(other.path()); // as a file dialog may leave it
    first->shutdown();
    EXPECT_EQ(std::pair(testsupport::readFile(appDir.filePath(QStringLiteral("cardform.ini"))), QFile::exists(other.filePath(QStringLiteral("cardform.ini")))),
              std::pair(QByteArray("current=0\r\n"), false));
    QSettings written(settingsPath, QSettings::IniFormat);
    EXPECT_EQ(std::tuple(written.value("dir/save").toString(), written.value("dir/bmp").toString(), stored("print/adj_x"), stored("print/adj_y")),
              std::tuple(settings.appDir(), settings.appDir(), 0, 0));

    // Values changed while running are used at the next start.
    ASSERT_TRUE(settings.setDocumentFolder(other.path()));
    settings.setAdjustX(-3);
    settings.setAdjustY(12);
    catalog.setCurrent(1);
    first->shutdown();
    auto second = start();
    EXPECT_EQ(std::tuple(settings.documentFolder(), settings.pictureFolder(), settings.adjustX(), settings.adjustY(), catalog.current()),
              std::tuple(other.path(), settings.appDir(), -3, 12, 1));
    EXPECT_EQ(second->createEditor(QString())->page().cardWidth, catalog.format(1).cardWidth);
}

TEST_F(CardAppTest, OffsetsAreWrittenWhenThePrintDialogClosesWithOk)
{
    auto app = start();
    const std::tuple<const char*, int, int> cases[] = {{"4", QDialog::Accepted, 4}, {"9", QDialog::Rejected, 4}, {"-2", QDialog::Accepted, -2}};
    for (const auto& [x, answer, written] : cases) {
        const auto answering = testsupport::answerPrintDialog(
            [x = x](print::AdjustPrintDlg& d) { d.offsetXEdit()->setText(QString::fromUtf8(x)); }, answer);
        QPrinter printer;
        print::AdjustPrintDlg(&printer).run();
        EXPECT_EQ(stored("print/adj_x"), written) << x;
    }
}

TEST_F(CardAppTest, BadStoredValuesKeepTheDefaultsAndFoldersCountTheirBytes)
{
    {
        QSettings written(settingsPath, QSettings::IniFormat);
        written.setValue("print/adj_x", "abc");
        written.setValue("print/adj_y", "99999999999");
        written.setValue("dir/save", QLatin1Char('/') + QString(100, QChar(0x540D))); // 301 bytes
        written.setValue("dir/bmp", QString());
    }
    auto app = start();
    EXPECT_EQ(std::tuple(settings.adjustX(), settings.adjustY(), settings.documentFolder(), settings.pictureFolder()),
              std::tuple(0, 0, settings.appDir(), settings.appDir()));
    const QString longest = QLatin1Char('/') + QString(254, QLatin1Char('p'));
    EXPECT_TRUE(settings.setPictureFolder(longest));
    EXPECT_EQ(settings.pictureFolder(), longest);
}

TEST_F(CardAppTest, MissingApplicationDirectoryWritesNothingElsewhere)
{
    const QString missing = other.filePath(QStringLiteral("gone"));
    qputenv("NURELPAD_APPDIR", QFile::encodeName(missing));
    QDir::setCurrent(other.path());
    auto app = start();
    EXPECT_EQ(catalog.count(), 2);
    app->shutdown();
    EXPECT_FALSE(QFile::exists(QDir(missing).filePath(QStringLiteral("cardform.ini"))) || QFile::exists(other.filePath(QStringLiteral("cardform.ini"))));
    EXPECT_TRUE(QSettings(settingsPath, QSettings::IniFormat).contains("print/adj_x"));
}

TEST_F(CardAppTest, AnInstalledProgramKeepsTheUsersCatalogueInTheirDataFolder)
{
    // The data folder ships a catalogue; it seeds the first start only.
    const QByteArray shipped("current=2\r\n");
    testsupport::InstalledLayout installed(shipped);

    auto first = start(installed.binDir());
    EXPECT_EQ(std::tuple(settings.appDir(), settings.documentFolder(), settings.pictureFolder()),
              std::tuple(installed.dataDir(), installed.documentsDir(), installed.documentsDir()));
    ASSERT_EQ(catalog.count(), 3);
    EXPECT_EQ(catalog.current(), 2);
    catalog.append(CardFormat{"Mine", 210, 297, 91, 55, 2, 5, 14, 11, 0, 0});
    catalog.setCurrent(3);
    first->shutdown();
    EXPECT_EQ(testsupport::readFile(QDir(installed.userDataDir()).filePath(QStringLiteral("cardform.ini"))),
              QByteArray("current=3\r\nMine,210,297,91,55,2,5,14,11,0,0,\r\n"));
    EXPECT_EQ(testsupport::readFile(QDir(installed.dataDir()).filePath(QStringLiteral("cardform.ini"))), shipped);

    auto second = start(installed.binDir());
    EXPECT_EQ(std::tuple(catalog.count(), catalog.current(), catalog.format(3).name), std::tuple(4, 3, QByteArray("Mine")));
}

} // namespace
