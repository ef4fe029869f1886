// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "platform/AppDirectory.h"

#include <QFile>

using namespace Qt::StringLiterals;

TEST(AppDirectory, WithoutAUsableEntryItIsTheCurrentDirectory)
{
    QTemporaryDir started;
    const testsupport::ScopedCwd cwd;
    ASSERT_TRUE(QDir::setCurrent(started.path()));
    const QString here = QDir::currentPath();

    // Not set (null), empty, or past the 256-byte buffer: where the program was started.
    const QString fits = QLatin1Char('/') + QString(254, QLatin1Char('p'));
    const std::pair<QString, QString> entries[] = {{QString(), here}, {u""_s, here}, {fits + u'p', here}, {fits, fits}};
    for (const auto& [entry, expected] : entries) {
        const testsupport::ScopedEnv set("NURELPAD_APPDIR", entry);
        EXPECT_EQ(platform::lookupAppDirectory(), expected) << entry.size() << entry.isNull();
    }
}

TEST(AppDirectory, AFolderOfTheUsersOwnHoldsEverythingAndTheEntryComesFirst)
{
    testsupport::InstalledLayout installed;
    const QString bin = installed.binDir();
    // A folder of the user's own holds everything; a missing one keeps its name.
    QTemporaryDir own;
    const QString missing = own.filePath(QStringLiteral("gone"));
    for (const QString& appDir : {own.path(), missing}) {
        const platform::AppDirectory d = platform::resolveAppDirectory(appDir, bin);
        EXPECT_EQ(std::pair(d.catalogueDir, d.startFolder), std::pair(appDir, appDir));
    }

    // NURELPAD_APPDIR still comes first.
    testsupport::ScopedEnv entry("NURELPAD_APPDIR", own.path());
    EXPECT_EQ(platform::lookupAppDirectory(bin), QDir(own.path()).absolutePath());
}
