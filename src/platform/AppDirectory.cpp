#include "platform/AppDirectory.h"

#include "platform/AppSettings.h"

#include <QDir>
#include <QSettings>

namespace platform {

namespace {

QString storedAppDirectory()
{
#ifdef Q_OS_WIN
    QSettings key(QStringLiteral("HKEY_CLASSES_ROOT\\Nurelpad.Document\\AppDir"), QSettings::NativeFormat);
    return key.value(QStringLiteral("Default")).toString();
#else
    return qEnvironmentVariable("NURELPAD_APPDIR");
#endif
}

} // namespace

QString lookupAppDirectory()
{
    // A value that does not fit the 256-byte buffer reads as a failed lookup.
    const QString stored = storedAppDirectory();
    if (AppSettings::fitsFolderBuffer(stored))
        return QDir::cleanPath(QDir(stored).absolutePath());
    return QDir::currentPath();
}

} // namespace platform
