#include "TestSupport.h"

#include "printui/FormatCreateDlg.h"
#include "printui/PaperSelectDlg.h"
#include "ui/ChoiceDialogs.h"

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

} // namespace testsupport
