#pragma once

#include <QString>

namespace platform {

// The application directory: the document type's "AppDir" entry on Windows
// (HKCR\Nurelpad.Document\AppDir), the environment variable NURELPAD_APPDIR
// elsewhere; when neither gives a usable value, the current directory.
QString lookupAppDirectory();

} // namespace platform
