// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "printui/AdjustPrintDlg.h"
#include "printui/FormatCreateDlg.h"
#include "printui/PaperSelectDlg.h"
#include "ui/ChoiceDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace testsupport {

int defaultAnswer(const ui::MessageBoxRequest& r)
{
    switch (r.buttons) {
    case platform::MbButtons::YesNo:
    case platform::MbButtons::YesNoCancel: return platform::IdYes;
    default: return platform::IdOk;
    }
}

void installDefaults()
{
    ui::setMessageBoxHandler(defaultAnswer);
    // Colour and font dialogs answer Cancel unless a test scripts them.
    ui::setColorDialogProvider([](std::uint32_t, QWidget*) { return std::optional<std::uint32_t>(); });
    ui::setFontDialogProvider([](const ui::FontRequest&, QWidget*) { return std::optional<platform::LogFont>(); });
    // So do the paper and format dialogs.
    print::PaperSelectDlg::setProvider([](print::PaperSelectDlg&) { return int(QDialog::Rejected); });
    print::FormatCreateDlg::setProvider([](print::FormatCreateDlg&) { return int(QDialog::Rejected); });
}

Override<ui::PrintDialogProvider> answerPrintDialog(std::function<void(print::AdjustPrintDlg&)> act, int answer)
{
    return {ui::setPrintDialogProvider, [act = std::move(act), answer](QPrintDialog& d) {
        if (act)
            act(dynamic_cast<print::AdjustPrintDlg&>(d));
        return answer;
    }};
}

ScopedEnv::ScopedEnv(const char* name, const QString& value) : name_(name)
{
    if (qEnvironmentVariableIsSet(name))
        old_ = qgetenv(name);
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, QFile::encodeName(value));
}

ScopedEnv::~ScopedEnv()
{
    if (old_)
        qputenv(name_, *old_);
    else
        qunsetenv(name_);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ProcessResult runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("still running after 120 s")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

namespace {

void setWritable(const QString& dir, bool writable)
{
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(dir, writable ? readOnly | QFile::WriteOwner : readOnly);
}

} // namespace

InstalledLayout::InstalledLayout(const QByteArray& shippedCatalogue)
{
    const QDir root(root_.path());
    for (const char* dir : {"bin", "share/pelmora/cardfmt", "home/data", "home/config", "home/Docs"})
        root.mkpath(QString::fromLatin1(dir));
    writeFile(dataDir() + QStringLiteral("/cardfmt/installed.cf"), "Installed 3x3,210,297,60,40,3,3,15,20,5,5,\r\n");
    if (!shippedCatalogue.isNull())
        writeFile(dataDir() + QStringLiteral("/cardform.ini"), shippedCatalogue);
    writeFile(root_.filePath(QStringLiteral("home/config/user-dirs.dirs")),
              "XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documentsDir()) + "\"\n");
    setWritable(dataDir() + QStringLiteral("/cardfmt"), false);
    setWritable(dataDir(), false);
    dataHome_.emplace("XDG_DATA_HOME", root_.filePath(QStringLiteral("home/data")));
    configHome_.emplace("XDG_CONFIG_HOME", root_.filePath(QStringLiteral("home/config")));
}

InstalledLayout::~InstalledLayout()
{
    // So that the temporary folder can be removed.
    setWritable(dataDir(), true);
    setWritable(dataDir() + QStringLiteral("/cardfmt"), true);
}

} // namespace testsupport
