// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Where the program finds its data and keeps the user's own files.
struct AppDirectory {
    QString path;         // the application directory: sample/, cardfmt/, help/
    QString catalogueDir; // the folder the user's "cardform.ini" is written to
    QString startFolder;  // where the file dialogs start until the user picks a folder

    // The folder to read "cardform.ini" from: catalogueDir, or the application
    // directory while catalogueDir holds none yet (a catalogue shipped with the
    // data folder, or one written before the folder became read-only).
    QString catalogueSourceDir() const;
};

// The folder of the running executable.
QString executableDir();

// The data folder of a program installed in binDir (<prefix>/bin gives
// <prefix>/share/pelmora), whether or not it exists.
QString installedDataDirectory(const QString& binDir);

// The user's own data folder for Pelmora: $XDG_DATA_HOME/pelmora, by default
// ~/.local/share/pelmora.
QString userDataDirectory();

// The application directory: the document type's "AppDir" entry on Windows
// (HKCR\Nurelpad.Document\AppDir), the environment variable NURELPAD_APPDIR
// elsewhere; when neither gives a usable value, the installed data folder beside
// the executable in binDir if it exists; else the current directory.
QString lookupAppDirectory(const QString& binDir = executableDir());

// The application directory with the folders for the user's files. An installed
// program's data folder is never written to, nor is an existing folder the user
// cannot write: then the catalogue lives in userDataDirectory() and the file
// dialogs start in the user's documents folder. Otherwise both are appDir.
AppDirectory resolveAppDirectory(const QString& appDir, const QString& binDir = executableDir());

} // namespace platform
