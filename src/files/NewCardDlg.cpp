// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/NewCardDlg.h"

#include "resources/Templates.h"

NewCardDlg::NewCardDlg(QWidget* parent) : TemplateDialog(resources::dialogTemplate(resources::dlg::NewCard), parent) {}

void NewCardDlg::onCommand(int id, ui::Notify code)
{
    if (code != ui::Notify::Clicked)
        return;
    switch (id) {
    case 1012: done(LoadSample); break;
    case 1085: done(FromScratch); break;
    case 2: reject(); break;
    default: break;
    }
}
