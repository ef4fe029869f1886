// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

namespace ui {

struct FileDialogRequest {
    enum Mode { Open, Save };
    Mode mode = Open;
    QString initialDir;
    QString fileName;
    // Filter in the platform's pairs form: "desc|patterns|desc|patterns||".
    QString filter;
    QString defaultExt; // without the dot
    bool overwritePrompt = true;
};

// Returns the chosen path, or nothing when cancelled.
using FileDialogProvider = std::function<std::optional<QString>(const FileDialogRequest&, QWidget* parent)>;

std::optional<QString> runFileDialog(const FileDialogRequest& request, QWidget* parent = nullptr);

// Replaces the file dialog (tests script it this way); returns the previous one.
// An empty provider restores the real dialog.
FileDialogProvider setFileDialogProvider(FileDialogProvider provider);

// Sets up a Qt file dialog as runFileDialog shows it for the request.
void setUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// "desc|*.a;*.b|desc2|*.*||" becomes Qt's "desc (*.a *.b) (*.a *.b);;desc2 (*.*) (*)":
// each filter is its label, showing the given patterns, then the patterns Qt
// matches by (outside Windows "*" for "*.*"). Show it with HideNameFilterDetails.
QString qtFilterFromPairs(const QString& pairs);

} // namespace ui
