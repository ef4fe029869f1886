#include "platform/AppDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(AppDirectory, WithoutAUsableEntryItIsTheCurrentDirectory)
{
    QTemporaryDir started;
    ASSERT_TRUE(started.isValid());
    const QString savedCwd = QDir::currentPath();
    const std::optional<QByteArray> savedEnv =
        qEnvironmentVariableIsSet("NURELPAD_APPDIR") ? std::optional(qgetenv("NURELPAD_APPDIR")) : std::nullopt;
    ASSERT_TRUE(QDir::setCurrent(started.path()));
    const QString here = QDir::currentPath();

    const QString fits = QLatin1Char('/') + QString(254, QLatin1Char('p')); // 255 bytes and a terminator
    const struct {
        std::optional<QString> entry; // nothing: not set
        QString expected;
    } cases[] = {
        {std::nullopt, here},
        {QString(), here},
        {fits, fits},
        {fits + QLatin1Char('p'), here}, // does not fit the buffer
        {QDir::tempPath(), QDir::tempPath()},
    };
    for (const auto& c : cases) {
        if (c.entry)
            qputenv("NURELPAD_APPDIR", QFile::encodeName(*c.entry));
        else
            qunsetenv("NURELPAD_APPDIR");
        EXPECT_EQ(platform::lookupAppDirectory(), c.expected) << c.entry.value_or(QStringLiteral("(unset)")).size();
    }

    QDir::setCurrent(savedCwd);
    if (savedEnv)
        qputenv("NURELPAD_APPDIR", *savedEnv);
    else
        qunsetenv("NURELPAD_APPDIR");
}

} // namespace
