// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The list of all known card formats and the index of the chosen one.
// Sources, in order: the two built-in formats, the "*.cf" files of the "cardfmt"
// folder, and the user's formats in "cardform.ini". Only the user's formats (from
// fixedCount() on) are written back.
class CardFormatCatalog {
public:
    CardFormatCatalog();

    // The user's formats and the current choice, in the application directory.
    static QString fileName() { return QStringLiteral("cardform.ini"); }

    // The process-wide catalogue.
    static CardFormatCatalog& instance();

    // One format line: name, then ten numbers each followed by a comma. The text
    // ends at its first NUL byte; anything after the tenth comma is ignored.
    // `out` is only written on success.
    static bool parseLine(const QByteArray& text, CardFormat& out);

    // The line parseLine reads back as `f`: commas in the name become the
    // full-width comma, line breaks and NULs a space. No line terminator.
    static QByteArray formatLine(const CardFormat& f);

    // Appends the first line of every "*.cf" file in appDir/cardfmt, in name order.
    void loadFolderFormats(const QString& appDir);

    // Reads appDir/fileName. Everything present before the call becomes fixed.
    void loadFile(const QString& appDir, const QString& name = fileName());

    // Writes "current=" and the user formats, whole or not at all. When this replaces
    // a loaded file whose content was not fully taken in, the original is first kept
    // as "<file>.bak"; if that copy fails, nothing is written.
    bool saveFile(const QString& path);

    int count() const { return int(formats_.size()); }
    CardFormat format(int index) const; // an empty record for a bad index
    int current() const { return current_; }
    void setCurrent(int index); // ignored unless it designates a format
    int fixedCount() const { return fixedCount_; }

    // Names longer than CardFormat::kMaxNameBytes are cut at a character boundary.
    void append(const CardFormat& f);
    // Only user formats (index >= fixedCount()) can be replaced or removed.
    bool replace(int index, const CardFormat& f);
    // `current` keeps designating the same format; if that one goes, it falls back to 0.
    bool remove(int index);

    CardFormat currentFormat() const { return format(current_); }

private:
    bool isUserIndex(int index) const { return index >= fixedCount_ && index < count(); }
    bool backUpUnreadFile() const;

    std::vector<CardFormat> formats_;
    int current_ = 0;
    int fixedCount_ = 0;
    // Absolute path of a loaded file that held content the catalogue dropped
    // (no "current=" line, unreadable lines, cut names); empty otherwise.
    QString unreadFile_;
};
