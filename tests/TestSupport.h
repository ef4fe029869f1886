// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialogs.h"

#include <QPushButton>
#include <QTest>

#include <QByteArray>
#include <QDir>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace print {
class AdjustPrintDlg;
}

namespace testsupport {

// Installed before every test program runs: message boxes are answered
// without showing anything (OK/Yes by default) and recorded.
void installDefaults();

// Replaces a dialog provider or message box handler for a scope: `set` is its
// setter, which hands back the one it replaces; that one is put back afterwards.
template <class Provider>
class Override {
public:
    Override(Provider (*set)(Provider), std::type_identity_t<Provider> provider)
        : set_(set), previous_(set(std::move(provider)))
    {
    }
    ~Override() { set_(std::move(previous_)); }
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    Provider (*set_)(Provider);
    Provider previous_;
};

// Answers handed out in turn; once they run out, the empty answer (Cancel).
template <class T>
T next(std::deque<T>& answers)
{
    T v{};
    if (!answers.empty()) {
        std::swap(v, answers.front());
        answers.pop_front();
    }
    return v;
}

// The answer a message box gets when no test scripts it: OK, or Yes.
int defaultAnswer(const ui::MessageBoxRequest& r);

// Scripted answers for message boxes within a scope (then the default answer);
// every box shown is recorded.
class MessageBoxScript {
public:
    explicit MessageBoxScript(std::deque<int> answers = {}) : answers_(std::move(answers)) {}
    const std::vector<ui::MessageBoxRequest>& shown() const { return shown_; }

private:
    std::deque<int> answers_;
    std::vector<ui::MessageBoxRequest> shown_;
    Override<ui::MessageBoxHandler> override_{ui::setMessageBoxHandler, [this](const ui::MessageBoxRequest& r) {
        shown_.push_back(r);
        return answers_.empty() ? defaultAnswer(r) : next(answers_);
    }};
};

// Scripted answers for file dialogs within a scope: a path, or nothing for Cancel.
class FileDialogScript {
public:
    explicit FileDialogScript(std::deque<std::optional<QString>> answers) : answers_(std::move(answers)) {}
    const std::vector<ui::FileDialogRequest>& shown() const { return shown_; }

private:
    std::deque<std::optional<QString>> answers_;
    std::vector<ui::FileDialogRequest> shown_;
    Override<ui::FileDialogProvider> override_{ui::setFileDialogProvider, [this](const ui::FileDialogRequest& r, QWidget*) {
        shown_.push_back(r);
        return next(answers_);
    }};
};

// The print dialog, whenever it shows within the scope, runs `act` and answers `answer`.
Override<ui::PrintDialogProvider> answerPrintDialog(std::function<void(print::AdjustPrintDlg&)> act, int answer);

// An answer for a paper or format dialog: runs `act`, then clicks the dialog's
// button `button` (1: OK, 2: Cancel).
template <class Dlg>
typename Dlg::Provider clicking(std::function<void(Dlg&)> act, int button = 1)
{
    return [act = std::move(act), button](Dlg& d) {
        act(d);
        QTest::mouseClick(d.template itemAs<QPushButton>(button), Qt::LeftButton);
        return d.result();
    };
}

// A file written whole, with the folders above it; whether it was.
bool writeFile(const QString& path, const QByteArray& bytes);
// A file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);

// A program run to its end: its exit code (-1 when it was still running after
// two minutes and stopped) and what it wrote.
struct ProcessResult {
    int code;
    QString out;
    QString err;
};
ProcessResult runProgram(const QString& program, const QStringList& args,
                         const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// A test with a fresh temporary folder.
class TempDirTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // A file of the folder holding bytes; its path.
    QString file(const QString& name, const QByteArray& bytes) const
    {
        EXPECT_TRUE(writeFile(path(name), bytes)) << name.toStdString();
        return path(name);
    }
    QTemporaryDir dir;
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

// Puts the working directory back at the end of a scope.
class ScopedCwd {
public:
    ScopedCwd() = default;
    ~ScopedCwd() { QDir::setCurrent(saved_); }
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    QString saved_ = QDir::currentPath();
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
