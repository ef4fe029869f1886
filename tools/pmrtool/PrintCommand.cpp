// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool print: the print job into a PDF or PNG file, or to a printer.

#include "CommandLine.h"
#include "SheetCommand.h"
#include "ToolCommands.h"
#include "model/PmrData.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "print/CardList.h"
#include "print/PrintJob.h"
#include "print/SheetRenderer.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <limits>
#include <memory>

namespace pmrtool {

namespace {

using namespace Qt::StringLiterals;

const char* const kHelp =
    "usage: pmrtool print FILE.pmr -o OUT.pdf|OUT.png [--format INDEX|NAME]\n"
    "                     [--copies N] [--adjust X,Y] [--only-one] [--start N]\n"
    "                     [--merge LIST.csv] [--dpi N] [--appdir DIR]\n"
    "                     [--sides front|back|both] [--flip long|short|manual]\n"
    "                     [--back-adjust X,Y]\n"
    "       pmrtool print FILE.pmr --printer NAME [--settings FILE.ini] [options]\n"
    "\n"
    "Runs the print job into a file or to a printer, with no dialog: the card on\n"
    "every position of the card format, sheet after sheet.\n"
    "  --printer   print to that printer (see pmrtool printers) as a PDF job titled\n"
    "              with the document's file name, instead of -o\n"
    "  --settings  the editor's settings as an INI file (default: the editor's own\n"
    "              settings), for the printer's remembered offsets\n"
    "  --format    the format by its index or its name (default: the catalogue's\n"
    "              current format; see pmrtool formats)\n"
    "  --copies    the number of sheets (default 1); with --merge, the cards of\n"
    "              each person, side by side\n"
    "  --adjust    the fine adjustment in whole millimetres, X to the right and Y\n"
    "              downwards (default 0,0; with --printer, its remembered offsets)\n"
    "  --only-one  one card on every sheet, at the first position it may use;\n"
    "              with --merge, every card of the list on a sheet of its own\n"
    "  --merge     a card for each row of a CSV list, its fields {{name}} filled\n"
    "              with the row's value in the column of that name: the first\n"
    "              row names the columns; UTF-8 (with or without BOM) or CP932;\n"
    "              quoted values may hold commas, quotes (\"\") and line breaks.\n"
    "              The cards fill the sheets position by position from --start;\n"
    "              the rest of the last sheet stays empty. A column the card\n"
    "              needs that the list lacks, an empty or malformed list is an\n"
    "              error before anything prints\n"
    "  --start     the position of the first card on the first sheet, counted row\n"
    "              by row from 1 at the top left (default 1); the positions before\n"
    "              it stay empty, later sheets are full\n"
    "  --sides     the sides of the card printed (default front): back prints\n"
    "              the card's back alone, both a back behind every front; the\n"
    "              card must have a back for either\n"
    "  --flip      how the sheet is turned between its sides (default long):\n"
    "              over its long or short edge, each back sheet after its front;\n"
    "              manual, every front, then every back, for turning the stack\n"
    "              over its long edge by hand. Each card's back lies behind its\n"
    "              own front; a back turned a quarter against the front prints\n"
    "              with its left edge along the top of the vertical side\n"
    "  --back-adjust  the fine adjustment of the backs alone, like --adjust\n"
    "              (default 0,0; with --printer, its remembered back offsets)\n"
    "  --dpi       the printer resolution (default 600, 10 to 2400)\n"
    "  --appdir    the folder of the catalogue (cardfmt/ and cardform.ini); default\n"
    "              the editor's application directory\n"
    "A PDF's page is the format's paper. A PNG is one image per sheet: OUT.png for\n"
    "one sheet, OUT-1.png, OUT-2.png … for several, backs counted as sheets. When the card's size differs\n"
    "from the format's, a warning goes to stderr and the card prints as the editor\n"
    "prints it after OK: cut to the format's card size. When the card is too\n"
    "large to draw its picture at that resolution, the sheets carry the text only\n"
    "and the exit status is 1.\n";

const Syntax kSyntax{.help = kHelp,
                     .takes = "print takes FILE.pmr and either -o OUT.pdf|OUT.png or --printer NAME",
                     .files = 1,
                     .values = {QStringLiteral("-o"), QStringLiteral("--format"), QStringLiteral("--copies"),
                                QStringLiteral("--adjust"), QStringLiteral("--dpi"), QStringLiteral("--appdir"),
                                QStringLiteral("--start"), QStringLiteral("--printer"), QStringLiteral("--settings"),
                                QStringLiteral("--merge"), QStringLiteral("--sides"), QStringLiteral("--flip"),
                                QStringLiteral("--back-adjust")},
                     .flags = {QStringLiteral("--only-one")},
                     .destinations = {QStringLiteral("-o"), QStringLiteral("--printer")}};

// The offsets the editor remembers for a printer's fronts and backs, from its
// settings store: the editor keeps it under its program's name, "pelmora".
std::pair<QPoint, QPoint> rememberedAdjustment(const Args& a, const QString& printer)
{
    std::unique_ptr<platform::SettingsStore> store =
        a.has(QStringLiteral("--settings"))
            ? platform::SettingsStore::fromFile(a.value(QStringLiteral("--settings")))
            : std::make_unique<platform::SettingsStore>(QStringLiteral("pelmora"));
    platform::AppSettings settings;
    settings.load(*store);
    settings.attachStore(store.get());
    return {settings.printerAdjustment(printer), settings.printerBackAdjustment(printer)};
}

// X,Y in whole millimetres from an --adjust option, or nothing.
std::optional<QPoint> adjustment(const Args& a, const QString& option)
{
    const QStringList parts = a.value(option).split(QLatin1Char(','));
    const auto x = parts.size() == 2 ? wholeNumber(parts[0], -1000, 1000) : std::nullopt;
    const auto y = parts.size() == 2 ? wholeNumber(parts[1], -1000, 1000) : std::nullopt;
    if (!x || !y)
        return std::nullopt;
    return QPoint(*x, *y);
}

// The options after -o or --printer, --dpi and the format: ExitOk, or the usage
// error said.
int readOptions(Context& c, const Args& a, print::PrintOptions& options)
{
    const std::optional<int> copies = a.number(QStringLiteral("--copies"), 1, 1, 9999);
    if (!copies)
        return usageError(c, QStringLiteral("--copies takes a whole number from 1 to 9999"), kHelp);
    const std::optional<int> start = a.number(QStringLiteral("--start"), 1, 1, std::numeric_limits<int>::max());
    if (!start)
        return usageError(c, QStringLiteral("--start takes a whole number from 1"), kHelp);
    for (const QString& option : {QStringLiteral("--adjust"), QStringLiteral("--back-adjust")}) {
        if (!a.has(option))
            continue;
        const std::optional<QPoint> mm = adjustment(a, option);
        if (!mm)
            return usageError(c, option + QStringLiteral(" takes X,Y in whole millimetres"), kHelp);
        (option == QLatin1String("--adjust") ? options.adjustX : options.backAdjustX) = mm->x();
        (option == QLatin1String("--adjust") ? options.adjustY : options.backAdjustY) = mm->y();
    }
    const auto sides = a.choice(QStringLiteral("--sides"), {u"front"_s, u"back"_s, u"both"_s}, 0);
    if (!sides)
        return usageError(c, QStringLiteral("--sides takes front, back or both"), kHelp);
    const auto flip = a.choice(QStringLiteral("--flip"), {u"long"_s, u"short"_s, u"manual"_s}, 0);
    if (!flip)
        return usageError(c, QStringLiteral("--flip takes long, short or manual"), kHelp);
    options.sides = print::Sides(*sides);
    options.flip = print::Flip(*flip);
    options.onlyOne = a.has(QStringLiteral("--only-one"));
    options.copies = *copies;
    options.start = *start;
    return ExitOk;
}

int run(Context& c, const QStringList& args)
{
    const Args a(args, kSyntax);
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), kHelp);
    SheetCommand sheets(a, kHelp);
    print::PrintOptions options;
    if (const int code = sheets.checkUsage(c); code != ExitOk)
        return code;
    if (const int code = readOptions(c, a, options); code != ExitOk)
        return code;
    if (const int code = sheets.checkPrinter(c); code != ExitOk)
        return code;
    if (sheets.toPrinter()) {
        const auto [front, back] = rememberedAdjustment(a, sheets.printer());
        if (!a.has(QStringLiteral("--adjust"))) {
            options.adjustX = front.x();
            options.adjustY = front.y();
        }
        if (!a.has(QStringLiteral("--back-adjust"))) {
            options.backAdjustX = back.x();
            options.backAdjustY = back.y();
        }
    }
    if (const int code = sheets.chooseFormat(c, options.formatIndex); code != ExitOk)
        return code;
    options.pixelsPerInch = sheets.dpi();

    const QString document = a.positional()[0];
    PmrData page;
    if (!readPage(c, document, page))
        return ExitFileError;
    const QString listPath = a.value(QStringLiteral("--merge"));
    if (a.has(QStringLiteral("--merge")))
        options.list = std::make_shared<const print::CardList>(print::CardList::read(listPath));
    const print::PrintJob job = print::makePrintJob(page, sheets.catalog(), options);
    const CardFormat& format = job.job.format;
    if (job.startOutside)
        return usageError(c, resources::formatString(resources::ids::PrintStartOutside, QString::number(job.positions)),
                          kHelp);
    if (job.noBack) {
        c.err << QDir::toNativeSeparators(QFileInfo(document).absoluteFilePath()) << ": the card has no back\n";
        return ExitFileError;
    }
    const QStringList inputs = options.list ? QStringList{document, listPath} : QStringList{document};
    if (const int code = sheets.checkInputs(c, inputs, job.pages); code != ExitOk)
        return code;
    if (!job.listProblem.isEmpty()) {
        c.err << QDir::toNativeSeparators(QFileInfo(listPath).absoluteFilePath()) << ": " << job.listProblem << "\n";
        return ExitFileError;
    }
    if (job.sizeMismatch)
        c.err << "pmrtool: warning: " << resources::loadString(resources::ids::PrintSizeMismatch) << " ("
              << page.cardWidth << " x " << page.cardHeight << " mm / " << format.cardWidth << " x "
              << format.cardHeight << " mm)\n";
    if (job.backSizeMismatch)
        c.err << "pmrtool: warning: the back: " << resources::loadString(resources::ids::PrintSizeMismatch) << " ("
              << page.back()->cardWidth << " x " << page.back()->cardHeight << " mm / " << format.cardWidth << " x "
              << format.cardHeight << " mm)\n";

    print::SheetRenderer renderer(page, job.job);
    // The job goes on with the text only, as in the editor; the run fails.
    bool pictureFailed = false;
    renderer.pictureFailed = [&pictureFailed](int) { pictureFailed = true; };
    const QString title = print::jobTitle(document);
    const bool done = sheets.writeSheets(c, job.pages, format, title, [&](print::SheetTarget& target) {
        return renderer.run(target) == print::SheetRenderer::Result::Done;
    });
    if (pictureFailed)
        c.err << "pmrtool: " << QString::fromUtf8(resources::texts::PictureFailed) << "\n";
    if (!done || !sheets.deliver(c, title))
        return ExitFileError;
    return pictureFailed ? ExitFileError : ExitOk;
}

} // namespace

const Command printCommand{"print", run, kHelp};

} // namespace pmrtool
