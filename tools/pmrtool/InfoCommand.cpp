// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool info: the document as JSON.

#include "CommandLine.h"
#include "DocumentJson.h"
#include "ToolCommands.h"
#include "model/PmrData.h"

#include <QJsonDocument>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool info FILE.pmr\n"
    "\n"
    "Prints the document as JSON: cardWidth, cardHeight, backColor (COLORREF as an\n"
    "integer), patternScale, pattern (null or {width, height, bytes, dib}) and\n"
    "items in list order. Each item has class, storedClass for an item read from an\n"
    "older class, x, y, cx, cy, color and the fields of its class: align, reserved,\n"
    "text, font {height … faceName, raw} for texts; width for lines; dibWidth,\n"
    "dibHeight, whiteOut, edgeMode, shape, dib (base64 or null) for pictures.\n"
    "Text is UTF-8; textRaw (hex) appears when the stored bytes are not plain CP932.\n"
    "A QR code is a picture with \"qr\": {kind (url, contact or text), level (L, M,\n"
    "Q or H), text (what it encodes), contact {name, reading, company, title, phone,\n"
    "mobile, fax, email, web, address} for a contact}. \"extras\" lists records of\n"
    "the document's extras block this version keeps without knowing them.\n";

int run(Context& c, const QStringList& args)
{
    PmrData page;
    const Syntax syntax{.help = kHelp, .takes = "info takes one file", .files = 1};
    if (const int code = readOnlyDocument(c, args, syntax, page); code != ExitOk)
        return code;
    printJson(c, QJsonDocument(documentToJson(page)));
    return ExitOk;
}

} // namespace

const Command infoCommand{"info", run, kHelp};

} // namespace pmrtool
