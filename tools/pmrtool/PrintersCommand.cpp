// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool printers: the CUPS queues as JSON.

#include "CommandLine.h"
#include "CupsQueues.h"
#include "ToolCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool printers\n"
    "\n"
    "Prints the printers as JSON: {\"printers\": [{\"name\", \"default\"}, ...]},\n"
    "the queues of the CUPS scheduler (lpstat); an empty list when there are none.\n";

int run(Context& c, const QStringList& args)
{
    const Args a(args, {.help = kHelp, .takes = "printers takes no arguments"});
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    QJsonArray list;
    for (const Printer& p : listPrinters()) {
        QJsonObject o;
        o[QStringLiteral("name")] = p.name;
        o[QStringLiteral("default")] = p.isDefault;
        list.append(o);
    }
    QJsonObject root;
    root[QStringLiteral("printers")] = list;
    printJson(c, QJsonDocument(root));
    return ExitOk;
}

} // namespace

const Command printersCommand{"printers", run, kHelp};

} // namespace pmrtool
