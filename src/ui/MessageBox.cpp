// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace ui {

namespace {

MessageBoxHandler& handlerSlot()
{
    static MessageBoxHandler handler;
    return handler;
}

int realMessageBox(const MessageBoxRequest& r)
{
    QMessageBox box(r.parent);
    box.setWindowTitle(r.caption.isEmpty() ? QStringLiteral(" ") : r.caption);
    box.setText(r.text);
    switch (r.icon) {
    case MbIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MbIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MbIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MbIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MbIcon::None: break;
    }
    struct Choice { QMessageBox::StandardButton button; int result; const char* label; };
    std::vector<Choice> choices;
    const Choice ok{QMessageBox::Ok, platform::IdOk, "OK"};
    const Choice cancel{QMessageBox::Cancel, platform::IdCancel, "キャンセル"};
    const Choice yes{QMessageBox::Yes, platform::IdYes, "はい(&Y)"};
    const Choice no{QMessageBox::No, platform::IdNo, "いいえ(&N)"};
    switch (r.buttons) {
    case MbButtons::Ok: choices = {ok}; break;
    case MbButtons::OkCancel: choices = {ok, cancel}; break;
    case MbButtons::YesNo: choices = {yes, no}; break;
    case MbButtons::YesNoCancel: choices = {yes, no, cancel}; break;
    }
    QMessageBox::StandardButtons all;
    for (const Choice& c : choices)
        all |= c.button;
    box.setStandardButtons(all);
    for (const Choice& c : choices)
        box.button(c.button)->setText(QString::fromUtf8(c.label));
    box.setDefaultButton(choices.front().button);
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (pressed == c.button)
            return c.result;
    // Closing the box counts as its cancel (or only) button.
    return r.buttons == MbButtons::Ok ? platform::IdOk : (r.buttons == MbButtons::YesNo ? platform::IdNo : platform::IdCancel);
}

} // namespace

int messageBox(const QString& text, const QString& caption, MbButtons buttons, MbIcon icon, QWidget* parent)
{
    const MessageBoxRequest request{text, caption, buttons, icon, parent};
    if (const MessageBoxHandler& h = handlerSlot())
        return h(request);
    return realMessageBox(request);
}

int appMessageBox(const QString& text, MbButtons buttons, MbIcon icon, QWidget* parent)
{
    return messageBox(text, applicationName(), buttons, icon, parent);
}

QString applicationName()
{
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty())
        return name;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace ui
