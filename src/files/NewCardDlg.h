// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DialogTemplate.h"

// Asks how to start a new card: from a sample (result 10) or from scratch (20).
class NewCardDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    enum Result { LoadSample = 10, FromScratch = 20 };

    explicit NewCardDlg(QWidget* parent = nullptr);

protected:
    void onCommand(int id, ui::Notify code) override;
};
