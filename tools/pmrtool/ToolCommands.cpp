// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolCommands.h"

#include "DocumentJson.h"
#include "OutputFile.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "platform/AppDirectory.h"
#include "platform/AppSettings.h"
#include "platform/GdiMath.h"
#include "platform/SettingsStore.h"
#include "platform/Codec.h"
#include "print/CalibrationSheet.h"
#include "print/CardFields.h"
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"
#include "print/PrintJob.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <limits>
#include <map>
#include <optional>
#include <vector>

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

struct Context {
    QTextStream& out;
    QTextStream& err;
};

// Arguments of one command: positional ones and options with values.
class Args {
public:
    Args(const QStringList& args, const QStringList& valueOptions, const QStringList& flags)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (valueOptions.contains(a)) {
                if (i + 1 >= args.size()) {
                    error_ = QStringLiteral("%1 needs a value").arg(a);
                    return;
                }
                options_[a] = args[++i];
            } else if (flags.contains(a)) {
                options_[a] = QString();
            } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
                error_ = QStringLiteral("unknown option %1").arg(a);
                return;
            } else {
                positional_.append(a);
            }
        }
    }
    const QString& error() const { return error_; }
    const QStringList& positional() const { return positional_; }
    bool has(const QString& o) const { return options_.count(o) != 0; }
    QString value(const QString& o) const { return has(o) ? options_.at(o) : QString(); }

private:
    QStringList positional_;
    std::map<QString, QString> options_;
    QString error_;
};

int usageError(Context& c, const QString& message, const char* help)
{
    c.err << "pmrtool: " << message << "\n\n" << help;
    return ExitUsage;
}

// Usage error for arguments of the wrong shape: the parser's own complaint, or what the command takes.
int badArguments(Context& c, const Args& a, const char* takes, const char* help)
{
    return usageError(c, a.error().isEmpty() ? QString::fromUtf8(takes) : a.error(), help);
}

// The editor's message for an error; texts that do not name the file get its path in front.
void reportError(Context& c, const ArchiveError& e, const QString& fullPath)
{
    const QString path = QDir::toNativeSeparators(fullPath);
    const QString message = archiveErrorMessage(e, path);
    if (message.contains(path))
        c.err << message << "\n";
    else
        c.err << path << ": " << message << "\n";
}

bool readPage(Context& c, const QString& path, PmrData& page)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    const auto error = tryDocument([&] { readDocumentFile(full, page); });
    if (error)
        reportError(c, *error, full);
    return !error;
}

// The one document a command takes, read into page: ExitOk, or the exit code of
// the usage or file error already reported.
int readOnlyDocument(Context& c, const QStringList& args, const char* takes, const char* help, PmrData& page)
{
    const Args a(args, {}, {});
    if (!a.error().isEmpty() || a.positional().size() != 1)
        return badArguments(c, a, takes, help);
    return readPage(c, a.positional()[0], page) ? ExitOk : ExitFileError;
}

bool writePage(Context& c, const PmrData& page, const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    const auto error = tryDocument([&] { writeDocumentFile(page, full); });
    if (error)
        reportError(c, *error, full);
    return !error;
}

void printJson(Context& c, const QJsonDocument& doc)
{
    c.out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

// The editor's catalogue: built-in and folder formats of an application directory
// and the user's formats, read where the editor reads them.
CardFormatCatalog loadCatalog(const QString& appDir)
{
    const platform::AppDirectory dir = platform::resolveAppDirectory(appDir);
    CardFormatCatalog catalog;
    catalog.loadFolderFormats(dir.path);
    catalog.loadFile(dir.catalogueSourceDir());
    return catalog;
}

QString appDirOption(const Args& a)
{
    return a.has(QStringLiteral("--appdir")) ? QDir(a.value(QStringLiteral("--appdir"))).absolutePath()
                                             : platform::lookupAppDirectory();
}

const char* const kInfoHelp =
    "usage: pmrtool info FILE.pmr\n"
    "\n"
    "Prints the document as JSON: cardWidth, cardHeight, backColor (COLORREF as an\n"
    "integer), patternScale, pattern (null or {width, height, bytes, dib}) and\n"
    "items in list order. Each item has class, storedClass for an item read from an\n"
    "older class, x, y, cx, cy, color and the fields of its class: align, reserved,\n"
    "text, font {height … faceName, raw} for texts; width for lines; dibWidth,\n"
    "dibHeight, whiteOut, edgeMode, shape, dib (base64 or null) for pictures.\n"
    "Text is UTF-8; textRaw (hex) appears when the stored bytes are not plain CP932.\n";

int cmdInfo(Context& c, const QStringList& args)
{
    PmrData page;
    if (const int code = readOnlyDocument(c, args, "info takes one file", kInfoHelp, page); code != ExitOk)
        return code;
    printJson(c, QJsonDocument(documentToJson(page)));
    return ExitOk;
}

const char* const kBuildHelp =
    "usage: pmrtool build IN.json -o OUT.pmr\n"
    "\n"
    "Writes a document from JSON with the schema of info. Fields left out take\n"
    "their class's defaults; a text item whose text or font is given is measured\n"
    "as the editor measures it unless cx and cy are given too. font.raw, when\n"
    "given, supplies all 60 font bytes. info followed by build gives the same file.\n"
    "A text holds at most 65536 bytes as stored: CP932, or two a UTF-16 unit\n"
    "for a text CP932 cannot hold.\n";

int cmdBuild(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("-o")}, {});
    if (!a.error().isEmpty() || a.positional().size() != 1 || !a.has(QStringLiteral("-o")))
        return badArguments(c, a, "build takes IN.json and -o OUT.pmr", kBuildHelp);
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

const char* const kFormatsHelp =
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

int cmdFormats(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("--appdir")}, {});
    if (!a.error().isEmpty() || !a.positional().isEmpty())
        return badArguments(c, a, "formats takes no file", kFormatsHelp);
    const CardFormatCatalog catalog = loadCatalog(appDirOption(a));
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

// A whole number from lo to hi, or nothing.
std::optional<int> wholeNumber(const QString& text, int lo, int hi)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < lo || v > hi)
        return std::nullopt;
    return int(v);
}

// A numeric option: its default when absent, nothing when it is out of range.
std::optional<int> numberOption(const Args& a, const QString& name, int fallback, int lo, int hi)
{
    return a.has(name) ? wholeNumber(a.value(name), lo, hi) : std::optional<int>(fallback);
}

constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 2400;
// The paper a format's sheet is printed on; a format without a usable paper size prints on A4.
QSizeF sheetPaperMm(const CardFormat& format)
{
    const bool paperKnown = format.paperWidth > 0 && format.paperHeight > 0;
    return paperKnown ? QSizeF(format.paperWidth, format.paperHeight) : QSizeF(210, 297);
}

const char* const kRenderHelp =
    "usage: pmrtool render FILE.pmr -o OUT.png [--dpi N]\n"
    "\n"
    "Draws the card alone at N pixels per inch (default 300, 10 to 2400), exactly\n"
    "as the print job draws one card: white, the background, the lines, rectangles\n"
    "and pictures, then the text. The image is the card's width by its height in\n"
    "millimetres at that resolution.\n";

int cmdRender(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("-o"), QStringLiteral("--dpi")}, {});
    if (!a.error().isEmpty() || a.positional().size() != 1 || !a.has(QStringLiteral("-o")))
        return badArguments(c, a, "render takes FILE.pmr and -o OUT.png", kRenderHelp);
    const std::optional<int> dpi = numberOption(a, QStringLiteral("--dpi"), 300, kMinDpi, kMaxDpi);
    if (!dpi)
        return usageError(c, QStringLiteral("--dpi takes a whole number from %1 to %2").arg(kMinDpi).arg(kMaxDpi),
                          kRenderHelp);
    const QString out = a.value(QStringLiteral("-o"));
    if (QFileInfo(out).suffix().toLower() != QLatin1String("png"))
        return usageError(c, QStringLiteral("the output must end in .png"), kRenderHelp);
    if (const auto same = inputAsOutput({out}, {a.positional()[0]}))
        return usageError(c, *same, kRenderHelp);
    PmrData page;
    if (!readPage(c, a.positional()[0], page))
        return ExitFileError;
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

// Printers come from CUPS's own command-line tools rather than Qt's printer
// classes: Qt6::PrintSupport links Qt Widgets, and pmrtool stays headless.
struct Printer {
    QString name;
    bool isDefault = false;
};

// lpstat's standard output, or nothing when it is missing, fails or hangs.
std::optional<QString> runLpstat(const QString& option)
{
    QProcess p;
    p.start(QStringLiteral("lpstat"), {option});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The queues of the CUPS scheduler; none without lpstat or a scheduler.
std::vector<Printer> listPrinters()
{
    std::vector<Printer> printers;
    const auto names = runLpstat(QStringLiteral("-e"));
    if (!names)
        return printers;
    // "system default destination: NAME", or "no system default destination".
    QString defaultName;
    if (const auto d = runLpstat(QStringLiteral("-d"))) {
        const qsizetype colon = d->indexOf(QLatin1Char(':'));
        if (colon >= 0)
            defaultName = d->mid(colon + 1).trimmed();
    }
    for (const QString& line : names->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            printers.push_back({name, name == defaultName});
    }
    return printers;
}

// Hands a PDF file to a CUPS queue; false with lp's complaint in err.
bool sendToQueue(Context& c, const QString& queue, const QString& title, const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("lp"), {QStringLiteral("-d"), queue, QStringLiteral("-t"), title, file});
    const bool finished = p.waitForFinished(120000);
    if (!finished)
        p.kill();
    p.waitForFinished();
    const QString complaint = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    c.err << "pmrtool: the job could not be handed to \"" << queue << "\""
          << (complaint.isEmpty() ? (p.error() == QProcess::FailedToStart ? QStringLiteral(": lp is missing")
                                                                         : QString())
                                  : QStringLiteral(": ") + complaint)
          << "\n";
    return false;
}

const char* const kPrintersHelp =
    "usage: pmrtool printers\n"
    "\n"
    "Prints the printers as JSON: {\"printers\": [{\"name\", \"default\"}, ...]},\n"
    "the queues of the CUPS scheduler (lpstat); an empty list when there are none.\n";

int cmdPrinters(Context& c, const QStringList& args)
{
    const Args a(args, {}, {});
    if (!a.error().isEmpty() || !a.positional().isEmpty())
        return badArguments(c, a, "printers takes no arguments", kPrintersHelp);
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

// The offsets the editor remembers for a printer, from its settings store: the
// editor keeps it under its program's name, "pelmora".
QPoint rememberedAdjustment(const Args& a, const QString& printer)
{
    std::unique_ptr<platform::SettingsStore> store =
        a.has(QStringLiteral("--settings"))
            ? platform::SettingsStore::fromFile(a.value(QStringLiteral("--settings")))
            : std::make_unique<platform::SettingsStore>(QStringLiteral("pelmora"));
    platform::AppSettings settings;
    settings.load(*store);
    settings.attachStore(store.get());
    return settings.printerAdjustment(printer);
}

const char* const kPrintHelp =
    "usage: pmrtool print FILE.pmr -o OUT.pdf|OUT.png [--format INDEX|NAME]\n"
    "                     [--copies N] [--adjust X,Y] [--only-one] [--start N]\n"
    "                     [--merge LIST.csv] [--dpi N] [--appdir DIR]\n"
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
    "  --dpi       the printer resolution (default 600, 10 to 2400)\n"
    "  --appdir    the folder of the catalogue (cardfmt/ and cardform.ini); default\n"
    "              the editor's application directory\n"
    "A PDF's page is the format's paper. A PNG is one image per sheet: OUT.png for\n"
    "one sheet, OUT-1.png, OUT-2.png … for several. When the card's size differs\n"
    "from the format's, a warning goes to stderr and the card prints as the editor\n"
    "prints it after OK: cut to the format's card size. When the card is too\n"
    "large to draw its picture at that resolution, the sheets carry the text only\n"
    "and the exit status is 1.\n";

std::optional<int> findFormat(const CardFormatCatalog& catalog, const QString& which)
{
    if (const auto index = wholeNumber(which, 0, catalog.count() - 1))
        return index;
    for (int i = 0; i < catalog.count(); ++i)
        if (platform::fromCp932(catalog.format(i).name) == which)
            return i;
    return std::nullopt;
}

int cmdPrint(Context& c, const QStringList& args)
{
    const Args a(args,
                 {QStringLiteral("-o"), QStringLiteral("--format"), QStringLiteral("--copies"), QStringLiteral("--adjust"),
                  QStringLiteral("--dpi"), QStringLiteral("--appdir"), QStringLiteral("--start"),
                  QStringLiteral("--printer"), QStringLiteral("--settings"), QStringLiteral("--merge")},
                 {QStringLiteral("--only-one")});
    const bool toPrinter = a.has(QStringLiteral("--printer"));
    if (!a.error().isEmpty() || a.positional().size() != 1 || toPrinter == a.has(QStringLiteral("-o")))
        return badArguments(c, a, "print takes FILE.pmr and either -o OUT.pdf|OUT.png or --printer NAME", kPrintHelp);
    const QString printer = a.value(QStringLiteral("--printer"));
    // A printer gets the PDF target's file, from a folder of its own.
    std::optional<QTemporaryDir> spool;
    if (toPrinter)
        spool.emplace();
    const QString out = toPrinter ? spool->filePath(QStringLiteral("job.pdf")) : a.value(QStringLiteral("-o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
        return usageError(c, QStringLiteral("the output must end in .pdf or .png"), kPrintHelp);
    const std::optional<int> dpi = numberOption(a, QStringLiteral("--dpi"), 600, kMinDpi, kMaxDpi);
    if (!dpi)
        return usageError(c, QStringLiteral("--dpi takes a whole number from %1 to %2").arg(kMinDpi).arg(kMaxDpi),
                          kPrintHelp);
    const std::optional<int> copies = numberOption(a, QStringLiteral("--copies"), 1, 1, 9999);
    if (!copies)
        return usageError(c, QStringLiteral("--copies takes a whole number from 1 to 9999"), kPrintHelp);
    const std::optional<int> start =
        numberOption(a, QStringLiteral("--start"), 1, 1, std::numeric_limits<int>::max());
    if (!start)
        return usageError(c, QStringLiteral("--start takes a whole number from 1"), kPrintHelp);
    int adjustX = 0, adjustY = 0;
    if (a.has(QStringLiteral("--adjust"))) {
        const QStringList parts = a.value(QStringLiteral("--adjust")).split(QLatin1Char(','));
        const auto x = parts.size() == 2 ? wholeNumber(parts[0], -1000, 1000) : std::nullopt;
        const auto y = parts.size() == 2 ? wholeNumber(parts[1], -1000, 1000) : std::nullopt;
        if (!x || !y)
            return usageError(c, QStringLiteral("--adjust takes X,Y in whole millimetres"), kPrintHelp);
        adjustX = *x;
        adjustY = *y;
    }
    if (toPrinter) {
        const std::vector<Printer> printers = listPrinters();
        if (std::none_of(printers.begin(), printers.end(), [&](const Printer& p) { return p.name == printer; })) {
            c.err << "pmrtool: no printer \"" << printer << "\" (see pmrtool printers)\n";
            return ExitFileError;
        }
        if (!spool->isValid()) {
            c.err << "pmrtool: " << spool->errorString() << "\n";
            return ExitFileError;
        }
        if (!a.has(QStringLiteral("--adjust"))) {
            const QPoint remembered = rememberedAdjustment(a, printer);
            adjustX = remembered.x();
            adjustY = remembered.y();
        }
    }
    const CardFormatCatalog catalog = loadCatalog(appDirOption(a));
    print::PrintOptions options;
    if (a.has(QStringLiteral("--format"))) {
        const auto found = findFormat(catalog, a.value(QStringLiteral("--format")));
        if (!found)
            return usageError(c, QStringLiteral("no format \"%1\" (see pmrtool formats)").arg(a.value(QStringLiteral("--format"))),
                              kPrintHelp);
        options.formatIndex = *found;
    }
    options.pixelsPerInch = *dpi;
    options.adjustX = adjustX;
    options.adjustY = adjustY;
    options.onlyOne = a.has(QStringLiteral("--only-one"));
    options.copies = *copies;
    options.start = *start;

    PmrData page;
    if (!readPage(c, a.positional()[0], page))
        return ExitFileError;
    const QString listPath = a.value(QStringLiteral("--merge"));
    if (a.has(QStringLiteral("--merge")))
        options.list = std::make_shared<const print::CardList>(print::CardList::read(listPath));
    const print::PrintJob job = print::makePrintJob(page, catalog, options);
    const CardFormat& format = job.job.format;
    if (job.startOutside)
        return usageError(c, resources::formatString(resources::ids::PrintStartOutside, QString::number(job.positions)),
                          kPrintHelp);
    if (!toPrinter) {
        QStringList inputs{a.positional()[0]};
        if (a.has(QStringLiteral("--merge")))
            inputs.append(listPath);
        if (const auto same = inputAsOutput(sheetFilesThere({out, job.job.sheets}), inputs))
            return usageError(c, *same, kPrintHelp);
    }
    if (!job.listProblem.isEmpty()) {
        c.err << QDir::toNativeSeparators(QFileInfo(listPath).absoluteFilePath()) << ": " << job.listProblem << "\n";
        return ExitFileError;
    }
    if (job.sizeMismatch)
        c.err << "pmrtool: warning: " << resources::loadString(resources::ids::PrintSizeMismatch) << " ("
              << page.cardWidth << " x " << page.cardHeight << " mm / " << format.cardWidth << " x "
              << format.cardHeight << " mm)\n";

    print::SheetRenderer renderer(page, job.job);
    // The job goes on with the text only, as in the editor; the run fails.
    bool pictureFailed = false;
    renderer.pictureFailed = [&pictureFailed](int) { pictureFailed = true; };
    const QSizeF paperMm = sheetPaperMm(format);

    const bool done = printSheets(c.err, {out, job.job.sheets, *dpi, paperMm, print::jobTitle(a.positional()[0])},
                                  [&](print::SheetTarget& target) {
                                      return renderer.run(target) == print::SheetRenderer::Result::Done;
                                  });
    if (pictureFailed)
        c.err << "pmrtool: " << QString::fromUtf8(resources::texts::PictureFailed) << "\n";
    if (!done)
        return ExitFileError;
    if (toPrinter && !sendToQueue(c, printer, print::jobTitle(a.positional()[0]), out))
        return ExitFileError;
    return pictureFailed ? ExitFileError : ExitOk;
}

const char* const kFieldsHelp =
    "usage: pmrtool fields FILE.pmr\n"
    "\n"
    "Prints the fields of the card's texts as JSON: {\"fields\": [name, ...]}, in\n"
    "the order they first appear in the item list, each once. A field is {{name}}\n"
    "in a text; spaces around the name are not part of it, and {{}} is no field.\n"
    "pmrtool print fills them from the columns of a list.\n";

int cmdFields(Context& c, const QStringList& args)
{
    PmrData page;
    if (const int code = readOnlyDocument(c, args, "fields takes one file", kFieldsHelp, page); code != ExitOk)
        return code;
    QJsonObject root;
    root[QStringLiteral("fields")] = QJsonArray::fromStringList(print::cardFields(page));
    printJson(c, QJsonDocument(root));
    return ExitOk;
}

const char* const kCalibrateHelp =
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

int cmdCalibrate(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("-o"), QStringLiteral("--format"), QStringLiteral("--dpi"), QStringLiteral("--appdir")},
                 {});
    if (!a.error().isEmpty() || !a.positional().isEmpty() || !a.has(QStringLiteral("-o")))
        return badArguments(c, a, "calibrate takes -o OUT.pdf|OUT.png and no file", kCalibrateHelp);
    const QString out = a.value(QStringLiteral("-o"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
        return usageError(c, QStringLiteral("the output must end in .pdf or .png"), kCalibrateHelp);
    const std::optional<int> dpi = numberOption(a, QStringLiteral("--dpi"), 600, kMinDpi, kMaxDpi);
    if (!dpi)
        return usageError(c, QStringLiteral("--dpi takes a whole number from %1 to %2").arg(kMinDpi).arg(kMaxDpi),
                          kCalibrateHelp);
    const CardFormatCatalog catalog = loadCatalog(appDirOption(a));
    int index = catalog.current();
    if (a.has(QStringLiteral("--format"))) {
        const auto found = findFormat(catalog, a.value(QStringLiteral("--format")));
        if (!found)
            return usageError(c, QStringLiteral("no format \"%1\" (see pmrtool formats)").arg(a.value(QStringLiteral("--format"))),
                              kCalibrateHelp);
        index = *found;
    }
    const CardFormat format = catalog.format(index);
    const print::CalibrationSheet sheet(format);
    const QSizeF paperMm = sheetPaperMm(format);

    return printSheets(c.err, {out, 1, *dpi, paperMm, QString()},
                       [&](print::SheetTarget& target) { return sheet.print(target); })
               ? ExitOk
               : ExitFileError;
}

struct Command {
    const char* name;
    int (*run)(Context&, const QStringList&);
    const char* help;
};

const Command kCommands[] = {
    {"info", cmdInfo, kInfoHelp},
    {"build", cmdBuild, kBuildHelp},
    {"render", cmdRender, kRenderHelp},
    {"print", cmdPrint, kPrintHelp},
    {"fields", cmdFields, kFieldsHelp},
    {"formats", cmdFormats, kFormatsHelp},
    {"calibrate", cmdCalibrate, kCalibrateHelp},
    {"printers", cmdPrinters, kPrintersHelp},
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
    for (const Command& command : kCommands) {
        if (args[0] != QLatin1String(command.name))
            continue;
        const QStringList rest = args.mid(1);
        if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
            out << command.help;
            return ExitOk;
        }
        return command.run(c, rest);
    }
    return usageError(c, QStringLiteral("unknown command \"%1\"").arg(args[0]), kUsage);
}

} // namespace pmrtool
