#pragma once

#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <deque>
#include <optional>
#include <vector>

namespace testsupport {

// Installed before every test program runs: message boxes are answered
// without showing anything (OK/Yes by default) and recorded.
void installDefaults();

// Scripted answers for message boxes within a scope; every box shown is recorded.
class MessageBoxScript {
public:
    MessageBoxScript();
    explicit MessageBoxScript(std::deque<int> answers);
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    void answer(int result) { answers_.push_back(result); }
    const std::vector<ui::MessageBoxRequest>& shown() const { return shown_; }

private:
    std::deque<int> answers_;
    std::vector<ui::MessageBoxRequest> shown_;
    ui::MessageBoxHandler previous_;
};

// Scripted answers for file dialogs within a scope: a path, or nothing for Cancel.
class FileDialogScript {
public:
    explicit FileDialogScript(std::deque<std::optional<QString>> answers);
    ~FileDialogScript();
    FileDialogScript(const FileDialogScript&) = delete;
    FileDialogScript& operator=(const FileDialogScript&) = delete;

    const std::vector<ui::FileDialogRequest>& shown() const { return shown_; }

private:
    std::deque<std::optional<QString>> answers_;
    std::vector<ui::FileDialogRequest> shown_;
    ui::FileDialogProvider previous_;
};

// Sets an environment variable for a scope (unsets it for a null value) and
// puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// A program installed under a temporary prefix: an empty bin/ and a read-only
// share/pelmora holding one folder format ("Installed 3x3") and, when given, a
// shipped cardform.ini. While it lives NURELPAD_APPDIR is unset and
// XDG_DATA_HOME and the documents folder point inside the prefix.
class InstalledLayout {
public:
    explicit InstalledLayout(const QByteArray& shippedCatalogue = {});
    ~InstalledLayout();

    QString binDir() const { return root_.filePath(QStringLiteral("bin")); }
    QString dataDir() const { return root_.filePath(QStringLiteral("share/pelmora")); }
    QString userDataDir() const { return root_.filePath(QStringLiteral("home/data/pelmora")); }
    QString documentsDir() const { return root_.filePath(QStringLiteral("home/Docs")); }

private:
    QTemporaryDir root_;
    ScopedEnv appDir_{"NURELPAD_APPDIR", QString()};
    std::optional<ScopedEnv> dataHome_;
    std::optional<ScopedEnv> configHome_;
};

} // namespace testsupport
