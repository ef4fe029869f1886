// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool fields: the card's fields ({{name}}) as JSON.

#include "CommandLine.h"
#include "ToolCommands.h"
#include "model/PmrData.h"
#include "print/CardFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool fields FILE.pmr\n"
    "\n"
    "Prints the fields of the card's texts as JSON: {\"fields\": [name, ...]}, in\n"
    "the order they first appear in the item list, each once. A field is {{name}}\n"
    "in a text; spaces around the name are not part of it, and {{}} is no field.\n"
    "The fields of the card's back follow those of its front.\n"
    "pmrtool print fills them from the columns of a list.\n";

int run(Context& c, const QStringList& args)
{
    PmrData page;
    const Syntax syntax{.help = kHelp, .takes = "fields takes one file", .files = 1};
    if (const int code = readOnlyDocument(c, args, syntax, page); code != ExitOk)
        return code;
    QJsonObject root;
    QStringList fields = print::cardFields(page);
    if (const PmrData* back = page.storedBack())
        for (const QString& name : print::cardFields(*back))
            if (!fields.contains(name))
                fields << name;
    root[QStringLiteral("fields")] = QJsonArray::fromStringList(fields);
    printJson(c, QJsonDocument(root));
    return ExitOk;
}

} // namespace

const Command fieldsCommand{"fields", run, kHelp};

} // namespace pmrtool
