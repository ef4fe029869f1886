// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What print and calibrate share: where the sheets go (-o FILE, or --printer
// NAME through a PDF file of a folder of its own), the resolution and the
// card format, each refused with the same usage errors.

#include "CommandLine.h"
#include "print/CardFormatCatalog.h"

#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace print {
class SheetTarget;
}

namespace pmrtool {

class SheetCommand {
public:
    SheetCommand(const Args& a, const char* help);

    // The output's type and --dpi: ExitOk, or the usage error said.
    int checkUsage(Context& c);
    // The printer is one of the queues and its spool folder is there: ExitOk,
    // or the file error said. Nothing to check for a file.
    int checkPrinter(Context& c) const;
    // Reads the catalogue and sets index to the format --format names, if any:
    // ExitOk, or the usage error said.
    int chooseFormat(Context& c, int& index);
    // Refuses a file output whose sheets would replace one of the inputs.
    int checkInputs(Context& c, const QStringList& inputs, int sheets) const;

    // Runs `print` onto the sheets of the format's paper, written whole into
    // the file; false, said on err, when anything failed.
    bool writeSheets(Context& c, int sheets, const CardFormat& format, const QString& title,
                     const std::function<bool(print::SheetTarget&)>& print) const;
    // Hands the written file to the printer; nothing to do for a file.
    bool deliver(Context& c, const QString& title) const;

    bool toPrinter() const { return toPrinter_; }
    const QString& printer() const { return printer_; }
    int dpi() const { return dpi_; }
    const CardFormatCatalog& catalog() const { return catalog_; }

private:
    const Args& args_;
    const char* help_;
    bool toPrinter_;
    QString printer_;
    std::optional<QTemporaryDir> spool_;
    QString file_;
    int dpi_ = 0;
    CardFormatCatalog catalog_;
};

} // namespace pmrtool
