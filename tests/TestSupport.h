#pragma once

#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"

#include <QString>

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

} // namespace testsupport
