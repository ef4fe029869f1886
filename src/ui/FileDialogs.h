#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

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

// "desc|*.a;*.b|desc2|*.c||" becomes Qt's "desc (*.a *.b);;desc2 (*.c)".
QString qtFilterFromPairs(const QString& pairs);

} // namespace platform
