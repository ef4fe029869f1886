// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QPrintDialog;

namespace ui {

// Shows a print dialog modally and returns QDialog::Accepted or QDialog::Rejected.
// On Accepted the dialog's printer holds the choices (printer, copies, file).
using PrintDialogProvider = std::function<int(QPrintDialog& dialog)>;

// Runs the dialog through the installed provider, or the real dialog when none is.
int runPrintDialog(QPrintDialog& dialog);

// Replaces the print dialog (tests answer it this way); returns the previous one.
// An empty provider restores the real dialog.
PrintDialogProvider setPrintDialogProvider(PrintDialogProvider provider);

} // namespace ui
