// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppDirectory.h"

#include "platform/AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#ifndef PELMORA_DATA_FROM_BINDIR
#define PELMORA_DATA_FROM_BINDIR "../share/pelmora"
#endif

namespace platform {

namespace {

const QString kCatalogueFile = QStringLiteral("cardform.ini");

QString storedAppDirectory()
{
#ifdef Q_OS_WIN
    QSettings key(QStringLiteral("HKEY_CLASSES_ROOT\\Nurelpad.Document\\AppDir"), QSettings::NativeFormat);
    return key.value(QStringLiteral("Default")).toString();
#else
    return qEnvironmentVariable("NURELPAD_APPDIR");
#endif
}

bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The user's documents folder, or the home folder when there is none.
QString documentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !docs.isEmpty() && QFileInfo(docs).isDir() ? docs : QDir::homePath();
}

} // namespace

QString AppDirectory::catalogueSourceDir() const
{
    if (catalogueDir != path && !QFileInfo::exists(QDir(catalogueDir).filePath(kCatalogueFile))
        && QFileInfo::exists(QDir(path).filePath(kCatalogueFile)))
        return path;
    return catalogueDir;
}

QString executableDir()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

QString installedDataDirectory(const QString& binDir)
{
    return QDir::cleanPath(QDir(binDir).absoluteFilePath(QStringLiteral(PELMORA_DATA_FROM_BINDIR)));
}

QString userDataDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("pelmora"));
}

QString lookupAppDirectory(const QString& binDir)
{
    // A value that does not fit the 256-byte buffer reads as a failed lookup.
    const QString stored = storedAppDirectory();
    if (AppSettings::fitsFolderBuffer(stored))
        return QDir::cleanPath(QDir(stored).absolutePath());
    if (!binDir.isEmpty()) {
        const QString installed = installedDataDirectory(binDir);
        if (QFileInfo(installed).isDir() && AppSettings::fitsFolderBuffer(installed))
            return installed;
    }
    return QDir::currentPath();
}

AppDirectory resolveAppDirectory(const QString& appDir, const QString& binDir)
{
    AppDirectory dir{appDir, appDir, appDir};
    const QFileInfo info(appDir);
    const bool installed = !binDir.isEmpty() && sameFolder(appDir, installedDataDirectory(binDir));
    // A missing folder keeps its name: nothing is written anywhere then.
    if (!info.isDir() || (!installed && info.isWritable()))
        return dir;
    dir.catalogueDir = userDataDirectory();
    const QString docs = documentsFolder();
    if (AppSettings::fitsFolderBuffer(docs))
        dir.startFolder = docs;
    return dir;
}

} // namespace platform
