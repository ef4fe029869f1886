// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool calibrate: the calibration sheet of a card format.

#include "CommandLine.h"
#include "SheetCommand.h"
#include "ToolCommands.h"
#include "print/CalibrationSheet.h"

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool calibrate -o OUT.pdf|OUT.png [--format INDEX|NAME] [--dpi N]\n"
    "                         [--appdir DIR]\n"
    "\n"
    "Writes the calibration sheet of a card format, one page: every card\n"
    "position's outline and, at every card corner, millimetre rulers across both\n"
    "edges, numbered -5 and +5. Printed on card stock, the number under the\n"
    "stock's real cut is the offset to type into the print dialog. The fine\n"
    "adjustment is not applied.\n"
    "  --format    the format by its index or its name (default: the catalogue's\n"
    "              current format; see pmrtool formats)\n"
    "  --dpi       the printer resolution (default 600, 10 to 2400)\n"
    "  --appdir    the folder of the catalogue (cardfmt/ and cardform.ini); default\n"
    "              the editor's application directory\n"
    "A PDF's page is the format's paper (A4 when it has none); a PNG is the sheet.\n";

const Syntax kSyntax{.help = kHelp,
                     .takes = "calibrate takes -o OUT.pdf|OUT.png and no file",
                     .values = {QStringLiteral("-o"), QStringLiteral("--format"), QStringLiteral("--dpi"),
                                QStringLiteral("--appdir")},
                     .destinations = {QStringLiteral("-o")}};

int run(Context& c, const QStringList& args)
{
    const Args a(args, kSyntax);
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    SheetCommand sheets(a, kHelp);
    if (const int code = sheets.checkUsage(c); code != ExitOk)
        return code;
    int index = -1;
    if (const int code = sheets.chooseFormat(c, index); code != ExitOk)
        return code;
    const CardFormat format = sheets.catalog().format(index < 0 ? sheets.catalog().current() : index);
    const print::CalibrationSheet sheet(format);
    return sheets.writeSheets(c, 1, format, QString(), [&](print::SheetTarget& target) { return sheet.print(target); })
                   && sheets.deliver(c, QString())
               ? ExitOk
               : ExitFileError;
}

} // namespace

const Command calibrateCommand{"calibrate", run, kHelp};

} // namespace pmrtool
