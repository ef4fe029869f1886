#include "TestSupport.h"

namespace testsupport {

namespace {
int defaultAnswer(const platform::MessageBoxRequest& r)
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
    platform::setMessageBoxHandler(defaultAnswer);
}

MessageBoxScript::MessageBoxScript() : MessageBoxScript(std::deque<int>{}) {}

MessageBoxScript::MessageBoxScript(std::deque<int> answers) : answers_(std::move(answers))
{
    previous_ = platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
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
    platform::setMessageBoxHandler(std::move(previous_));
}

} // namespace testsupport
