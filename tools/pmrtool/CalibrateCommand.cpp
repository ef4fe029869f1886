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
    "                         [--appdir DIR] [--sides front|both]\n"
    "                         [--flip long|short|manual]\n"
    "\n"
    "Writes the calibration sheet of a card format, one page: every card\n"
    "position's outline and, at every card corner, millimetre rulers across both\n"
    "edges, numbered -5 and +5. Printed on card stock, the number under the\n"
    "stock's real cut is the offset to type into the print dialog. The fine\n"
    "adjustment is not applied.\n"
    "  --sides     front (the default) or both: a second page for the back of\n"
    "              the sheet, labelled うら, with the same rulers at the corners\n"
    "              of every card's back, the front labelled おもて. Looking at\n"
    "              the back, the number under the cut is the back offset\n"
    "  --flip      how the sheet is turned for its back (default long): over\n"
    "              its long or short edge, or manual, the sheet fed again by hand\n"
    "              turned over its long edge; only with --sides both\n"
    "  --format    the format by its index or its name (default: the catalogue's\n"
    "              current format; see pmrtool formats)\n"
    "  --dpi       the printer resolution (default 600, 10 to 2400)\n"
    "  --appdir    the folder of the catalogue (cardfmt/ and cardform.ini); default\n"
    "              the editor's application directory\n"
    "A PDF's page is the format's paper (A4 when it has none); a PNG is the sheet,\n"
    "OUT-1.png and OUT-2.png with both sides.\n";

const Syntax kSyntax{.help = kHelp,
                     .takes = "calibrate takes -o OUT.pdf|OUT.png and no file",
                     .values = {QStringLiteral("-o"), QStringLiteral("--format"), QStringLiteral("--dpi"),
                                QStringLiteral("--appdir"), QStringLiteral("--sides"), QStringLiteral("--flip")},
                     .destinations = {QStringLiteral("-o")}};

int run(Context& c, const QStringList& args)
{
    const Args a(args, kSyntax);
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    SheetCommand sheets(a, kHelp);
    if (const int code = sheets.checkUsage(c); code != ExitOk)
        return code;
    const auto both = a.choice(QStringLiteral("--sides"), {QStringLiteral("front"), QStringLiteral("both")}, 0);
    if (!both)
        return usageError(c, QStringLiteral("--sides takes front or both"), kHelp);
    const auto flip =
        a.choice(QStringLiteral("--flip"), {QStringLiteral("long"), QStringLiteral("short"), QStringLiteral("manual")}, 0);
    if (!flip)
        return usageError(c, QStringLiteral("--flip takes long, short or manual"), kHelp);
    if (!*both && a.has(QStringLiteral("--flip")))
        return usageError(c, QStringLiteral("--flip needs --sides both"), kHelp);
    int index = -1;
    if (const int code = sheets.chooseFormat(c, index); code != ExitOk)
        return code;
    const CardFormat format = sheets.catalog().format(index < 0 ? sheets.catalog().current() : index);
    const print::CalibrationSheet sheet(format);
    const auto print = [&](print::SheetTarget& target) {
        return *both ? sheet.printBothSides(target, print::Flip(*flip)) : sheet.print(target);
    };
    return sheets.writeSheets(c, *both ? 2 : 1, format, QString(), print) && sheets.deliver(c, QString())
               ? ExitOk
               : ExitFileError;
}

} // namespace

const Command calibrateCommand{"calibrate", run, kHelp};

} // namespace pmrtool
