// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDlg.h"

#include "resources/Images.h"
#include "resources/Templates.h"

AboutDlg::AboutDlg(QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::About), parent,
                     Options{[](int id) { return resources::iconPixmap(id); }, {}})
{
    setWindowIcon(resources::appIcon());
}
