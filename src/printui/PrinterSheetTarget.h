// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetTarget.h"

class QPrinter;

namespace print {

// A printer: a paged target whose abort also tells the spooler to drop the job.
class PrinterSheetTarget : public PagedSheetTarget {
public:
    explicit PrinterSheetTarget(QPrinter* printer);
    void abortDocument() override;

private:
    QPrinter* printer_;
};

} // namespace print
