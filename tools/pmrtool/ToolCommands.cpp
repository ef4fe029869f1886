// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolCommands.h"

#include "CommandLine.h"

#include <QTextStream>

namespace pmrtool {

namespace {

const char* const kUsage =
    "usage: pmrtool COMMAND [ARGS]\n"
    "\n"
    "Card documents (.pmr) from the command line, with the editor's own reader,\n"
    "writer, drawing and print job.\n"
    "\n"
    "commands:\n"
    "  info FILE.pmr                 the document as JSON\n"
    "  build IN.json -o OUT.pmr      a document from JSON (the schema of info)\n"
    "  render FILE.pmr -o OUT.png    the card alone as a picture\n"
    "  print FILE.pmr -o OUT.pdf|OUT.png | --printer NAME [--merge LIST.csv]\n"
    "                                the print job into a file or to a printer,\n"
    "                                a card for each person of a list\n"
    "  fields FILE.pmr               the card's fields ({{name}}) as JSON\n"
    "  formats                       the card-format catalogue as JSON\n"
    "  calibrate -o OUT.pdf|OUT.png  the calibration sheet of a card format\n"
    "  printers                      the printers as JSON\n"
    "\n"
    "pmrtool COMMAND --help explains a command; pmrtool --version prints the\n"
    "version. Exit status: 0 success, 1 a document or file error, 2 bad usage.\n"
    "A file written replaces the old one only once it is complete; an output\n"
    "that is also an input is refused.\n";

const Command* const kCommands[] = {
    &infoCommand, &buildCommand, &renderCommand, &printCommand,
    &fieldsCommand, &formatsCommand, &calibrateCommand, &printersCommand,
};

} // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Context c{out, err};
    if (args.isEmpty()) {
        err << kUsage;
        return ExitUsage;
    }
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") || args[0] == QLatin1String("help")) {
        out << kUsage;
        return ExitOk;
    }
    if (args[0] == QLatin1String("--version")) {
        out << "pmrtool " PELMORA_VERSION "\n";
        return ExitOk;
    }
    for (const Command* command : kCommands) {
        if (args[0] != QLatin1String(command->name))
            continue;
        const QStringList rest = args.mid(1);
        if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
            out << command->help;
            return ExitOk;
        }
        return command->run(c, rest);
    }
    return usageError(c, QStringLiteral("unknown command \"%1\"").arg(args[0]), kUsage);
}

} // namespace pmrtool
