// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DialogTemplate.h"

// The version information box.
class AboutDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    explicit AboutDlg(QWidget* parent = nullptr);
};
