// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetCommand.h"

#include "CupsQueues.h"
#include "OutputFile.h"
#include "ToolCommands.h"

#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace pmrtool {

SheetCommand::SheetCommand(const Args& a, const char* help)
    : args_(a)
    , help_(help)
    , toPrinter_(a.has(QStringLiteral("--printer")))
    , printer_(a.value(QStringLiteral("--printer")))
{
    if (toPrinter_)
        spool_.emplace();
    file_ = toPrinter_ ? spool_->filePath(QStringLiteral("job.pdf")) : a.value(QStringLiteral("-o"));
}

int SheetCommand::checkUsage(Context& c)
{
    const QString suffix = QFileInfo(file_).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
        return usageError(c, QStringLiteral("the output must end in .pdf or .png"), help_);
    const std::optional<int> dpi = dpiOption(c, args_, 600, help_);
    if (!dpi)
        return ExitUsage;
    dpi_ = *dpi;
    return ExitOk;
}

int SheetCommand::checkPrinter(Context& c) const
{
    if (!toPrinter_)
        return ExitOk;
    const std::vector<Printer> printers = listPrinters();
    if (std::none_of(printers.begin(), printers.end(), [&](const Printer& p) { return p.name == printer_; })) {
        c.err << "pmrtool: no printer \"" << printer_ << "\" (see pmrtool printers)\n";
        return ExitFileError;
    }
    if (!spool_->isValid()) {
        c.err << "pmrtool: " << spool_->errorString() << "\n";
        return ExitFileError;
    }
    return ExitOk;
}

int SheetCommand::chooseFormat(Context& c, int& index)
{
    catalog_ = loadCatalog(args_);
    if (!args_.has(QStringLiteral("--format")))
        return ExitOk;
    const QString which = args_.value(QStringLiteral("--format"));
    const auto found = findFormat(catalog_, which);
    if (!found)
        return usageError(c, QStringLiteral("no format \"%1\" (see pmrtool formats)").arg(which), help_);
    index = *found;
    return ExitOk;
}

int SheetCommand::checkInputs(Context& c, const QStringList& inputs, int sheets) const
{
    if (toPrinter_)
        return ExitOk;
    if (const auto same = inputAsOutput(sheetFilesThere({file_, sheets}), inputs))
        return usageError(c, *same, help_);
    return ExitOk;
}

bool SheetCommand::writeSheets(Context& c, int sheets, const CardFormat& format, const QString& title,
                               const std::function<bool(print::SheetTarget&)>& print) const
{
    // A format without a usable paper size prints on A4.
    const bool paperKnown = format.paperWidth > 0 && format.paperHeight > 0;
    const QSizeF paperMm = paperKnown ? QSizeF(format.paperWidth, format.paperHeight) : QSizeF(210, 297);
    return printSheets(c.err, {file_, sheets, dpi_, paperMm, title}, print);
}

bool SheetCommand::deliver(Context& c, const QString& title) const
{
    return !toPrinter_ || sendToQueue(c.err, printer_, title, file_);
}

} // namespace pmrtool
