#include "ToolCommands.h"

#include "DocumentJson.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "platform/AppDirectory.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <functional>
#include <map>

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
    "  print FILE.pmr -o OUT.pdf|OUT.png\n"
    "                                the print job into a file, no dialog\n"
    "  formats                       the card-format catalogue as JSON\n"
    "\n"
    "pmrtool COMMAND --help explains a command. Exit status: 0 success,\n"
    "1 a document or file error, 2 bad usage.\n";

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
    try {
        readDocumentFile(full, page);
        return true;
    } catch (const ArchiveError& e) {
        reportError(c, e, full);
    } catch (const std::bad_alloc&) {
        reportError(c, ArchiveError::outOfMemory(), full);
    }
    return false;
}

bool writePage(Context& c, const PmrData& page, const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    try {
        writeDocumentFile(page, full);
        return true;
    } catch (const ArchiveError& e) {
        reportError(c, e, full);
    } catch (const std::bad_alloc&) {
        reportError(c, ArchiveError::outOfMemory(), full);
    }
    return false;
}

void printJson(Context& c, const QJsonDocument& doc)
{
    c.out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

// The editor's catalogue: built-in, folder and user formats of an application directory.
CardFormatCatalog loadCatalog(const QString& appDir)
{
    CardFormatCatalog catalog;
    catalog.loadFolderFormats(appDir);
    catalog.loadFile(appDir, QStringLiteral("cardform.ini"));
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
    const Args a(args, {}, {});
    if (!a.error().isEmpty() || a.positional().size() != 1)
        return usageError(c, a.error().isEmpty() ? QStringLiteral("info takes one file") : a.error(), kInfoHelp);
    PmrData page;
    if (!readPage(c, a.positional()[0], page))
        return ExitFileError;
    printJson(c, QJsonDocument(documentToJson(page)));
    return ExitOk;
}

const char* const kBuildHelp =
    "usage: pmrtool build IN.json -o OUT.pmr\n"
    "\n"
    "Writes a document from JSON with the schema of info. Fields left out take\n"
    "their class's defaults; a text item whose text or font is given is measured\n"
    "as the editor measures it unless cx and cy are given too. font.raw, when\n"
    "given, supplies all 60 font bytes. info followed by build gives the same file.\n";

int cmdBuild(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("-o")}, {});
    if (!a.error().isEmpty() || a.positional().size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError(c, a.error().isEmpty() ? QStringLiteral("build takes IN.json and -o OUT.pmr") : a.error(),
                          kBuildHelp);
    const QString in = a.positional()[0];
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) {
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
    "catalogue is read from DIR (its cardfmt folder and cardform.ini), or from the\n"
    "editor's application directory (NURELPAD_APPDIR, else the current directory).\n";

int cmdFormats(Context& c, const QStringList& args)
{
    const Args a(args, {QStringLiteral("--appdir")}, {});
    if (!a.error().isEmpty() || !a.positional().isEmpty())
        return usageError(c, a.error().isEmpty() ? QStringLiteral("formats takes no file") : a.error(), kFormatsHelp);
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

struct Command {
    const char* name;
    int (*run)(Context&, const QStringList&);
    const char* help;
};

const Command kCommands[] = {
    {"info", cmdInfo, kInfoHelp},
    {"build", cmdBuild, kBuildHelp},
    {"formats", cmdFormats, kFormatsHelp},
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
