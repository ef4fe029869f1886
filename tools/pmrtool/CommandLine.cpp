// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "ToolCommands.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "platform/AppDirectory.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace pmrtool {

Args::Args(const QStringList& args, const Syntax& syntax)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (syntax.values.contains(a)) {
            if (i + 1 >= args.size()) {
                problem_ = QStringLiteral("%1 needs a value").arg(a);
                return;
            }
            options_[a] = args[++i];
        } else if (syntax.flags.contains(a)) {
            options_[a] = QString();
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            problem_ = QStringLiteral("unknown option %1").arg(a);
            return;
        } else {
            positional_.append(a);
        }
    }
    const auto given = std::count_if(syntax.destinations.begin(), syntax.destinations.end(),
                                     [this](const QString& o) { return has(o); });
    if (positional_.size() != syntax.files || (!syntax.destinations.isEmpty() && given != 1))
        problem_ = QString::fromUtf8(syntax.takes);
}

std::optional<int> Args::number(const QString& name, int fallback, int lo, int hi) const
{
    return has(name) ? wholeNumber(value(name), lo, hi) : std::optional<int>(fallback);
}

std::optional<int> Args::choice(const QString& name, const QStringList& names, int fallback) const
{
    if (!has(name))
        return fallback;
    const qsizetype i = names.indexOf(value(name));
    return i < 0 ? std::nullopt : std::optional<int>(int(i));
}

int usageError(Context& c, const QString& message, const char* help)
{
    c.err << "pmrtool: " << message << "\n\n" << help;
    return ExitUsage;
}

std::optional<int> wholeNumber(const QString& text, int lo, int hi)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < lo || v > hi)
        return std::nullopt;
    return int(v);
}

std::optional<int> dpiOption(Context& c, const Args& a, int fallback, const char* help)
{
    const std::optional<int> dpi = a.number(QStringLiteral("--dpi"), fallback, kMinDpi, kMaxDpi);
    if (!dpi)
        usageError(c, QStringLiteral("--dpi takes a whole number from %1 to %2").arg(kMinDpi).arg(kMaxDpi), help);
    return dpi;
}

namespace {

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

} // namespace

bool readPage(Context& c, const QString& path, PmrData& page)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    const auto error = tryDocument([&] { readDocumentFile(full, page); });
    if (error)
        reportError(c, *error, full);
    return !error;
}

bool writePage(Context& c, const PmrData& page, const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    const auto error = tryDocument([&] { writeDocumentFile(page, full); });
    if (error)
        reportError(c, *error, full);
    return !error;
}

int readOnlyDocument(Context& c, const QStringList& args, const Syntax& syntax, PmrData& page)
{
    const Args a(args, syntax);
    if (!a.problem().isEmpty())
        return usageError(c, a.problem(), syntax.help);
    return readPage(c, a.positional()[0], page) ? ExitOk : ExitFileError;
}

void printJson(Context& c, const QJsonDocument& doc)
{
    c.out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

CardFormatCatalog loadCatalog(const Args& a)
{
    const QString appDir = a.has(QStringLiteral("--appdir")) ? QDir(a.value(QStringLiteral("--appdir"))).absolutePath()
                                                             : platform::lookupAppDirectory();
    // Built-in and folder formats of the application directory, and the
    // user's formats, read where the editor reads them.
    const platform::AppDirectory dir = platform::resolveAppDirectory(appDir);
    CardFormatCatalog catalog;
    catalog.loadFolderFormats(dir.path);
    catalog.loadFile(dir.catalogueSourceDir());
    return catalog;
}

std::optional<int> findFormat(const CardFormatCatalog& catalog, const QString& which)
{
    if (const auto index = wholeNumber(which, 0, catalog.count() - 1))
        return index;
    for (int i = 0; i < catalog.count(); ++i)
        if (platform::fromCp932(catalog.format(i).name) == which)
            return i;
    return std::nullopt;
}

} // namespace pmrtool
