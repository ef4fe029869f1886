// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool render: the card alone as a PNG picture.

#include "CommandLine.h"
#include "OutputFile.h"
#include "ToolCommands.h"
#include "model/PmrData.h"
#include "platform/GdiMath.h"
#include "print/SheetRenderer.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>

namespace pmrtool {

namespace {

const char* const kHelp =
    "usage: pmrtool render FILE.pmr -o OUT.png [--dpi N] [--side front|back]\n"
    "\n"
    "Draws the card alone at N pixels per inch (default 300, 10 to 2400), exactly\n"
    "as the print job draws one card: white, the background, the lines, rectangles\n"
    "and pictures, then the text. The image is the card's width by its height in\n"
    "millimetres at that resolution. --side back draws the card's back alone,\n"
    "upright at its own width and height; a card without a back is an error.\n";

int run(Context& c, const QStringList& args)
{
    const Args a(args, {.help = kHelp,
                        .takes = "render takes FILE.pmr and -o OUT.png",
                        .files = 1,
                        .values = {QStringLiteral("-o"), QStringLiteral("--dpi"), QStringLiteral("--side")},
                        .destinations = {QStringLiteral("-o")}});
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    const std::optional<int> dpi = dpiOption(c, a, 300, kHelp);
    if (!dpi)
        return ExitUsage;
    const QString out = a.value(QStringLiteral("-o"));
    if (QFileInfo(out).suffix().toLower() != QLatin1String("png"))
        return usageError(c, QStringLiteral("the output must end in .png"), kHelp);
    if (const auto same = inputAsOutput({out}, {a.positional()[0]}))
        return usageError(c, *same, kHelp);
    const QString side = a.has(QStringLiteral("--side")) ? a.value(QStringLiteral("--side")) : QStringLiteral("front");
    if (side != QLatin1String("front") && side != QLatin1String("back"))
        return usageError(c, QStringLiteral("--side takes front or back"), kHelp);
    PmrData document;
    if (!readPage(c, a.positional()[0], document))
        return ExitFileError;
    if (side == QLatin1String("back") && !document.storedBack()) {
        c.err << QDir::toNativeSeparators(a.positional()[0]) << ": the card has no back\n";
        return ExitFileError;
    }
    const PmrData& page = side == QLatin1String("back") ? *document.back() : document;
    const int w = platform::mmToPixels(page.cardWidth, *dpi);
    const int h = platform::mmToPixels(page.cardHeight, *dpi);
    if (!fitsImage(w, h)) {
        c.err << "pmrtool: the card of " << page.cardWidth << " x " << page.cardHeight << " mm "
              << (w > 0 && h > 0 ? "is too large to draw" : "cannot be drawn") << " at " << *dpi
              << " pixels per inch\n";
        return ExitFileError;
    }
    const QImage image = print::renderCard(page, *dpi);
    if (image.isNull()) {
        c.err << "pmrtool: " << QString::fromUtf8(resources::texts::OutOfMemory) << "\n";
        return ExitFileError;
    }
    return savePng(c.err, image, out) ? ExitOk : ExitFileError;
}

} // namespace

const Command renderCommand{"render", run, kHelp};

} // namespace pmrtool
