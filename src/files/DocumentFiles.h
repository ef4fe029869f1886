// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class PmrData;
class QWidget;

namespace files {

// The filter of the document dialogs.
inline constexpr const char* kDocumentFilter = "PMR ﾌｧｲﾙ (*.pmr) |*.pmr|All Files (*.*)|*.*||";

// Reads a document into a fresh page and puts it in place of page's contents
// only when the whole file was read. A failure shows its message and leaves page
// as it was.
bool loadInto(PmrData& page, const QString& path, QWidget* parent);

// Writes the page to path, replacing the file only once every byte is written.
// A failure shows its message and leaves the old file.
bool saveFrom(const PmrData& page, const QString& path, QWidget* parent);

// The document file dialogs; the chosen path, or nothing when cancelled.
std::optional<QString> chooseToOpen(const QString& folder, QWidget* parent);
std::optional<QString> chooseToSave(const QString& folder, const QString& fileName, QWidget* parent);

// The folder of sample documents below the application directory.
QString sampleFolder(const QString& appDir);

} // namespace files
