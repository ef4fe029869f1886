#include "platform/AppDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AppDirectory, WithoutAUsableEntryItIsTheCurrentDirectory)
{
    QTemporaryDir started;
    const QString savedCwd = QDir::currentPath();
    const bool hadEntry = qEnvironmentVariableIsSet("NURELPAD_APPDIR");
    const QByteArray savedEntry = qgetenv("NURELPAD_APPDIR");
    ASSERT_TRUE(QDir::setCurrent(started.path()));
    const QString here = QDir::currentPath();

    // Not set, empty, or past the 256-byte buffer: where the program was started.
    const QString empty, fits = QLatin1Char('/') + QString(254, QLatin1Char('p')), tooLong = fits + u'p';
    const std::pair<const QString*, QString> entries[] = {
        {nullptr, here}, {&empty, here}, {&tooLong, here}, {&fits, fits}};
    for (const auto& [entry, expected] : entries) {
        if (entry)
            qputenv("NURELPAD_APPDIR", QFile::encodeName(*entry));
        else
            qunsetenv("NURELPAD_APPDIR");
        EXPECT_EQ(platform::lookupAppDirectory(), expected) << (entry ? entry->size() : -1);
    }

    QDir::setCurrent(savedCwd);
    if (hadEntry)
        qputenv("NURELPAD_APPDIR", savedEntry);
    else
        qunsetenv("NURELPAD_APPDIR");
}
