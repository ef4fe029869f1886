// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool formats: the card-format catalogue as JSON.

#include "CommandLine.h"
#include "ToolCommands.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool formats [--appdir DIR]\n"
    "\n"
    "Prints the card-format catalogue as a JSON array in catalogue order: index,\n"
    "name, paperWidth, paperHeight, cardWidth, cardHeight, columns, rows,\n"
    "leftMargin, topMargin, gapX, gapY (millimetres), fixed and current. The\n"
    "formats come from DIR (its cardfmt folder and cardform.ini), or from the\n"
    "editor's application directory: NURELPAD_APPDIR, else the installed data\n"
    "folder (../share/pelmora beside the program), else the current directory.\n"
    "When that folder is installed or read-only, cardform.ini is the user's own,\n"
    "in $XDG_DATA_HOME/pelmora (~/.local/share/pelmora).\n";

int run(Context& c, const QStringList& args)
{
    const Args a(args, {.help = kHelp, .takes = "formats takes no file", .values = {QStringLiteral("--appdir")}});
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    const CardFormatCatalog catalog = loadCatalog(a);
    QJsonArray list;
    for (int i = 0; i < catalog.count(); ++i) {
        const CardFormat f = catalog.format(i);
        QJsonObject o;
        o[QStringLiteral("index")] = i;
        o[QStringLiteral("name")] = platform::fromCp932(f.name);
        o[QStringLiteral("paperWidth")] = f.paperWidth;
        o[QStringLiteral("paperHeight")] = f.paperHeight;
        o[QStringLiteral("cardWidth")] = f.cardWidth;
        o[QStringLiteral("cardHeight")] = f.cardHeight;
        o[QStringLiteral("columns")] = f.columns;
        o[QStringLiteral("rows")] = f.rows;
        o[QStringLiteral("leftMargin")] = f.leftMargin;
        o[QStringLiteral("topMargin")] = f.topMargin;
        o[QStringLiteral("gapX")] = f.gapX;
        o[QStringLiteral("gapY")] = f.gapY;
        o[QStringLiteral("fixed")] = i < catalog.fixedCount();
        o[QStringLiteral("current")] = i == catalog.current();
        list.append(o);
    }
    printJson(c, QJsonDocument(list));
    return ExitOk;
}

} // namespace

const Command formatsCommand{"formats", run, kHelp};

} // namespace pmrtool
