// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PrintDialogs.h"

#include <QPrintDialog>

namespace ui {

namespace {

PrintDialogProvider& providerSlot()
{
    static PrintDialogProvider provider;
    return provider;
}

} // namespace

int runPrintDialog(QPrintDialog& dialog)
{
    if (const PrintDialogProvider& p = providerSlot())
        return p(dialog);
    return dialog.exec();
}

PrintDialogProvider setPrintDialogProvider(PrintDialogProvider provider)
{
    PrintDialogProvider previous = std::move(providerSlot());
    providerSlot() = std::move(provider);
    return previous;
}

} // namespace ui
