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

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fresh application directory, settings file and catalogue for each test.
class CardAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(appDir.isValid());
        ASSERT_TRUE(other.isValid());
        settingsPath = other.filePath(QStringLiteral("settings.ini"));
        CardFormatCatalog::instance() = CardFormatCatalog();
    }
    void TearDown() override { CardFormatCatalog::instance() = CardFormatCatalog(); }
    std::unique_ptr<CardApp> makeApp() const
    {
        return std::make_unique<CardApp>(platform::SettingsStore::fromFile(settingsPath));
    }

    QTemporaryDir appDir;
    QTemporaryDir other;
    QString settingsPath;
    const testsupport::ScopedCwd cwd;
    const testsupport::ScopedEnv appDirEntry{"NURELPAD_APPDIR", appDir.path()};
};

TEST_F(CardAppTest, FreshStartUsesTheApplicationDirectoryAndWritesEverythingAtExit)
{
    auto app = makeApp();
    app->prepare();
    const platform::AppSettings& s = platform::appSettings();
    EXPECT_EQ(s.appDir(), QDir(appDir.path()).absolutePath());
    EXPECT_EQ(CardFormatCatalog::instance().count(), 2);

    EXPECT_EQ(app->createEditor(QString())->page().cardWidth, 91);
    QDir::setCurrent(other.path()); // as a file dialog may leave it
    app->shutdown();

    QFile catalogue(appDir.filePath(QStringLiteral("cardform.ini")));
    ASSERT_TRUE(catalogue.open(QIODevice::ReadOnly));
    EXPECT_EQ(catalogue.readAll(), QByteArray("current=0\r\n"));
    EXPECT_FALSE(QFile::exists(other.filePath(QStringLiteral("cardform.ini"))));
    // The folders start as the application directory, the adjustments at 0.
    QSettings stored(settingsPath, QSettings::IniFormat);
    EXPECT_EQ(stored.value("dir/save").toString(), s.appDir());
    EXPECT_EQ(stored.value("dir/bmp").toString(), s.appDir());
    EXPECT_EQ(stored.value("print/adj_x").toInt(), 0);
    EXPECT_EQ(stored.value("print/adj_y").toInt(), 0);
}

TEST_F(CardAppTest, ValuesChangedWhileRunningAreUsedAtTheNextStart)
{
    auto first = makeApp();
    first->prepare();
    platform::AppSettings& s = platform::appSettings();
    ASSERT_TRUE(s.setDocumentFolder(other.path()));
    s.setAdjustX(-3);
    s.setAdjustY(12);
    CardFormatCatalog::instance().setCurrent(1);
    first->shutdown();

    CardFormatCatalog::instance() = CardFormatCatalog();
    auto second = makeApp();
    second->prepare();
    EXPECT_EQ(s.documentFolder(), other.path());
    EXPECT_EQ(s.pictureFolder(), s.appDir());
    EXPECT_EQ(s.adjustX(), -3);
    EXPECT_EQ(s.adjustY(), 12);
    EXPECT_EQ(CardFormatCatalog::instance().current(), 1);
    auto editor = second->createEditor(QString());
    EXPECT_EQ(editor->page().cardWidth, CardFormatCatalog::instance().format(1).cardWidth);
}

TEST_F(CardAppTest, OffsetsAreWrittenWhenThePrintDialogClosesWithOk)
{
    auto app = makeApp();
    app->prepare();
    const struct {
        const char* x;
        int answer;
        int stored;
    } cases[] = {{"4", QDialog::Accepted, 4}, {"9", QDialog::Rejected, 4}, {"-2", QDialog::Accepted, -2}};
    for (const auto& c : cases) {
        const auto answering = testsupport::answerPrintDialog(
            [&](print::AdjustPrintDlg& d) { d.offsetXEdit()->setText(QString::fromUtf8(c.x)); }, c.answer);
        QPrinter printer;
        print::AdjustPrintDlg(&printer).run();
        EXPECT_EQ(QSettings(settingsPath, QSettings::IniFormat).value("print/adj_x").toInt(), c.stored) << c.x;
    }
}

TEST_F(CardAppTest, BadStoredValuesKeepTheDefaultsAndFoldersCountTheirBytes)
{
    {
        QSettings stored(settingsPath, QSettings::IniFormat);
        stored.setValue("print/adj_x", "abc");
        stored.setValue("print/adj_y", "99999999999");
        stored.setValue("dir/save", QLatin1Char('/') + QString(100, QChar(0x540D))); // 301 bytes
        stored.setValue("dir/bmp", QString());
    }
    auto app = makeApp();
    app->prepare();
    platform::AppSettings& s = platform::appSettings();
    EXPECT_EQ(s.adjustX(), 0);
    EXPECT_EQ(s.adjustY(), 0);
    EXPECT_EQ(s.documentFolder(), s.appDir());
    EXPECT_EQ(s.pictureFolder(), s.appDir());
    const QString longest = QLatin1Char('/') + QString(254, QLatin1Char('p'));
    EXPECT_TRUE(s.setPictureFolder(longest));
    EXPECT_EQ(s.pictureFolder(), longest);
}

TEST_F(CardAppTest, MissingApplicationDirectoryWritesNothingElsewhere)
{
    const QString missing = other.filePath(QStringLiteral("gone"));
    qputenv("NURELPAD_APPDIR", QFile::encodeName(missing));
    QDir::setCurrent(other.path());
    auto app = makeApp();
    app->prepare();
    EXPECT_EQ(CardFormatCatalog::instance().count(), 2);
    app->shutdown();
    EXPECT_FALSE(QFile::exists(QDir(missing).filePath(QStringLiteral("cardform.ini"))));
    EXPECT_FALSE(QFile::exists(other.filePath(QStringLiteral("cardform.ini"))));
    // The settings are still stored.
    EXPECT_TRUE(QSettings(settingsPath, QSettings::IniFormat).contains("print/adj_x"));
}

TEST_F(CardAppTest, AnInstalledProgramKeepsTheUsersCatalogueInTheirDataFolder)
{
    // The data folder ships a catalogue; it seeds the first start only.
    const QByteArray shipped("current=2\r\n");
    testsupport::InstalledLayout installed(shipped);
    const QString userFile = QDir(installed.userDataDir()).filePath(QStringLiteral("cardform.ini"));
    const auto start = [&] {
        auto app = makeApp();
        app->prepare(platform::resolveAppDirectory(platform::lookupAppDirectory(installed.binDir()),
                                                   installed.binDir()));
        return app;
    };

    auto first = start();
    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    const platform::AppSettings& s = platform::appSettings();
    EXPECT_EQ(s.appDir(), installed.dataDir());
    EXPECT_EQ(s.documentFolder(), installed.documentsDir());
    EXPECT_EQ(s.pictureFolder(), installed.documentsDir());
    ASSERT_EQ(catalog.count(), 3);
    EXPECT_EQ(catalog.current(), 2);
    catalog.append(CardFormat{"Mine", 210, 297, 91, 55, 2, 5, 14, 11, 0, 0});
    catalog.setCurrent(3);
    first->shutdown();

    QFile written(userFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("current=3\r\nMine,210,297,91,55,2,5,14,11,0,0,\r\n"));
    QFile kept(QDir(installed.dataDir()).filePath(QStringLiteral("cardform.ini")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), shipped);

    // The next start reads the user's file.
    catalog = CardFormatCatalog();
    auto second = start();
    EXPECT_EQ(catalog.count(), 4);
    EXPECT_EQ(catalog.current(), 3);
    EXPECT_EQ(catalog.format(3).name, QByteArray("Mine"));
}

} // namespace
