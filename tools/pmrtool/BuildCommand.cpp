// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool build: a document from JSON.

#include "CommandLine.h"
#include "DocumentJson.h"
#include "ToolCommands.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool build IN.json -o OUT.pmr\n"
    "\n"
    "Writes a document from JSON with the schema of info. Fields left out take\n"
    "their class's defaults; a text item whose text or font is given is measured\n"
    "as the editor measures it unless cx and cy are given too. font.raw, when\n"
    "given, supplies all 60 font bytes. info followed by build gives the same file.\n"
    "A text holds at most 65536 bytes as stored: CP932, or two a UTF-16 unit\n"
    "for a text CP932 cannot hold. A picture with \"qr\" and no \"dib\" gets the\n"
    "code's picture in the item's colour; kind defaults to text, level to M.\n";

const Syntax kSyntax{.help = kHelp,
                     .takes = "build takes IN.json and -o OUT.pmr",
                     .files = 1,
                     .values = {QStringLiteral("-o")},
                     .destinations = {QStringLiteral("-o")}};

int run(Context& c, const QStringList& args)
{
    const Args a(args, kSyntax);
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    const QString in = a.positional()[0];
    QFile file(in);
    // Only a regular file of a sane size: a FIFO or a device would never end.
    const QFileInfo info(in);
    if (!info.isFile() || info.size() > kMaxDocumentFileBytes || !file.open(QIODevice::ReadOnly)) {
        c.err << QDir::toNativeSeparators(in) << ": " << resources::loadString(resources::ids::FileCannotOpen) << "\n";
        return ExitFileError;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        c.err << QDir::toNativeSeparators(in) << ": "
              << (doc.isObject() || parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                                 : QStringLiteral("not a JSON object"))
              << "\n";
        return ExitFileError;
    }
    PmrData page;
    QString error;
    if (!documentFromJson(doc.object(), page, &error)) {
        c.err << QDir::toNativeSeparators(in) << ": " << error << "\n";
        return ExitFileError;
    }
    return writePage(c, page, a.value(QStringLiteral("-o"))) ? ExitOk : ExitFileError;
}

} // namespace

const Command buildCommand{"build", run, kHelp};

} // namespace pmrtool
