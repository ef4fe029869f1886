// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/PrinterSheetTarget.h"

#include <QPrinter>

namespace print {

PrinterSheetTarget::PrinterSheetTarget(QPrinter* printer) : PagedSheetTarget(printer), printer_(printer) {}

void PrinterSheetTarget::abortDocument()
{
    if (printer_)
        printer_->abort();
    PagedSheetTarget::abortDocument();
}

} // namespace print
