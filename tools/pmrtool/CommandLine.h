// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every pmrtool command shares: its arguments, its usage errors, and
// reading and writing documents with the editor's messages.

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class CardFormatCatalog;
class PmrData;
class QJsonDocument;
class QTextStream;

namespace pmrtool {

struct Context {
    QTextStream& out;
    QTextStream& err;
};

// What a command takes on its command line.
struct Syntax {
    const char* help;              // its --help text, shown after a usage error
    const char* takes;             // the complaint when the arguments do not fit
    int files = 0;                 // positional arguments, exactly
    QStringList values = {};       // options with a value
    QStringList flags = {};        // options without one
    QStringList destinations = {}; // of these, exactly one must be given
};

// One command line parsed by a command's syntax.
class Args {
public:
    Args(const QStringList& args, const Syntax& syntax);

    // The usage error of arguments of the wrong shape: the parser's own
    // complaint, or what the command takes; empty when they fit.
    const QString& problem() const { return problem_; }
    const QStringList& positional() const { return positional_; }
    bool has(const QString& o) const { return options_.count(o) != 0; }
    QString value(const QString& o) const { return has(o) ? options_.at(o) : QString(); }
    // A numeric option: fallback when absent, nothing when out of range.
    std::optional<int> number(const QString& name, int fallback, int lo, int hi) const;
    // An option that names one of names: its index, fallback when absent,
    // nothing for another value.
    std::optional<int> choice(const QString& name, const QStringList& names, int fallback) const;

private:
    QStringList positional_;
    std::map<QString, QString> options_;
    QString problem_;
};

struct Command {
    const char* name;
    int (*run)(Context&, const QStringList&);
    const char* help;
};

// The commands, each in a file of its own.
extern const Command infoCommand, buildCommand, renderCommand, printCommand, fieldsCommand, formatsCommand,
    calibrateCommand, printersCommand;

// Says "pmrtool: message", then the help; the exit code of bad usage.
int usageError(Context& c, const QString& message, const char* help);

// A whole number from lo to hi, or nothing.
std::optional<int> wholeNumber(const QString& text, int lo, int hi);

inline constexpr int kMinDpi = 10;
inline constexpr int kMaxDpi = 2400;
// --dpi N as render, print and calibrate take it; a usage error already said
// when it is out of range.
std::optional<int> dpiOption(Context& c, const Args& a, int fallback, const char* help);

bool readPage(Context& c, const QString& path, PmrData& page);
bool writePage(Context& c, const PmrData& page, const QString& path);
// The one document a command takes, read into page: ExitOk, or the exit code
// of the usage or file error already reported.
int readOnlyDocument(Context& c, const QStringList& args, const Syntax& syntax, PmrData& page);

void printJson(Context& c, const QJsonDocument& doc);

// The editor's catalogue, read from --appdir DIR or the editor's application
// directory.
CardFormatCatalog loadCatalog(const Args& a);

// A format by its index or its name.
std::optional<int> findFormat(const CardFormatCatalog& catalog, const QString& which);

} // namespace pmrtool
