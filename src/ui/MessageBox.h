// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageKinds.h"

#include <QString>

#include <functional>

class QWidget;

namespace ui {

using platform::MbButtons;
using platform::MbIcon;

struct MessageBoxRequest {
    QString text;
    QString caption;
    MbButtons buttons = MbButtons::Ok;
    MbIcon icon = MbIcon::None;
    QWidget* parent = nullptr;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows a modal message box and returns the button pressed.
int messageBox(const QString& text, const QString& caption, MbButtons buttons = MbButtons::Ok,
               MbIcon icon = MbIcon::None, QWidget* parent = nullptr);

// The application's general message routine: caption is the application's name,
// and the exclamation icon is used when the caller names none.
int appMessageBox(const QString& text, MbButtons buttons = MbButtons::Ok,
                  MbIcon icon = MbIcon::Exclamation, QWidget* parent = nullptr);

// The application's name: the base name of the executable.
QString applicationName();

// Replaces the message box (tests answer prompts this way); returns the previous one.
// An empty handler restores the real message box.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace ui
