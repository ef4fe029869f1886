// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The files pmrtool writes: each whole or not at all.

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

class QImage;
class QIODevice;
class QTextStream;

namespace print {
class SheetTarget;
}

namespace pmrtool {

// The largest picture written as PNG, in bytes of 32-bit pixels.
inline constexpr std::int64_t kMaxImageBytes = std::int64_t(1) << 30;

// Whether a picture of w by h pixels of 32 bits stays within kMaxImageBytes.
bool fitsImage(std::int64_t w, std::int64_t h);

// Why writing the outputs would lose an input, the first output that is one of
// the inputs (also through symbolic links); nothing when none is.
std::optional<QString> inputAsOutput(const QStringList& outputs, const QStringList& inputs);

// Writes an output file as documents are saved: into a temporary file beside
// path, which takes path's place only when `write` returned true and every
// write, the last flush included, succeeded. A failure or a killed run leaves
// what was at path as it was. False when the file was not written, with the
// reason on err: a read-only file, a full disk, a file too large, …
bool writeOutputFile(QTextStream& err, const QString& path, const std::function<bool(QIODevice&)>& write);

bool savePng(QTextStream& err, const QImage& image, const QString& path);

// Where sheets go: a PDF of the paper's pages, or PNG images, one file a sheet:
// OUT.png for a single sheet, OUT-1.png, OUT-2.png … for several.
struct SheetOutput {
    QString path; // ending in .pdf or .png
    int sheets = 1;
    int dpi = 600;
    QSizeF paperMm;
    QString title; // of a PDF
};

// The files there now that the output's sheets would replace.
QStringList sheetFilesThere(const SheetOutput& output);

// Runs `print` onto a target for the output and writes each of its files
// whole; false, said on err, when anything failed. A file not written keeps
// what was there.
bool printSheets(QTextStream& err, const SheetOutput& output, const std::function<bool(print::SheetTarget&)>& print);

} // namespace pmrtool
