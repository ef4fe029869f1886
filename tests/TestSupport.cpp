#include "TestSupport.h"

#include "printui/FormatCreateDlg.h"
#include "printui/PaperSelectDlg.h"
#include "ui/ChoiceDialogs.h"

#include <QDir>
#include <QFile>

namespace testsupport {

namespace {
int defaultAnswer(const ui::MessageBoxRequest& r)
{
    switch (r.buttons) {
    case platform::MbButtons::YesNo:
    case platform::MbButtons::YesNoCancel: return platform::IdYes;
    default: return platform::IdOk;
    }
}
} // namespace

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

MessageBoxScript::MessageBoxScript() : MessageBoxScript(std::deque<int>{}) {}

MessageBoxScript::MessageBoxScript(std::deque<int> answers) : answers_(std::move(answers))
{
    previous_ = ui::setMessageBoxHandler([this](const ui::MessageBoxRequest& r) {
        shown_.push_back(r);
        if (answers_.empty())
            return defaultAnswer(r);
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    });
}

MessageBoxScript::~MessageBoxScript()
{
    ui::setMessageBoxHandler(std::move(previous_));
}

FileDialogScript::FileDialogScript(std::deque<std::optional<QString>> answers) : answers_(std::move(answers))
{
    previous_ = ui::setFileDialogProvider([this](const ui::FileDialogRequest& r, QWidget*) {
        shown_.push_back(r);
        QString chosen;
        bool cancelled = true;
        if (!answers_.empty()) {
            cancelled = !answers_.front().has_value();
            chosen = answers_.front().value_or(QString());
            answers_.pop_front();
        }
        return cancelled ? std::optional<QString>() : std::optional<QString>(chosen);
    });
}

FileDialogScript::~FileDialogScript()
{
    ui::setFileDialogProvider(std::move(previous_));
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

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

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
