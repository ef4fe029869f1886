// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class PmrData;

namespace print {

// A list of people to print cards for, read from a CSV file: the first row names
// the columns, every later row is one card. UTF-8 with or without a byte order
// mark, or CP932 when the bytes are not UTF-8; bytes that are neither, or UTF-8
// with a few stray bytes, are an error. Fields follow RFC 4180: quoted
// fields may hold commas, doubled quotes and line breaks (which become CR LF,
// as card texts keep them); spaces before an opening quote and after a closing
// one are dropped. Column names are trimmed; of two equal names the first counts.
// A row with fewer fields than columns has empty values for the rest; one with
// more is an error unless the extra fields are empty (trailing commas). A row
// whose fields are all empty or spaces, a blank line among them, is no card.
class CardList {
public:
    enum class Encoding { Utf8, Utf8Bom, Cp932 };

    // Longer rows, larger files and more rows are errors.
    static constexpr int kMaxRowChars = 10000;
    static constexpr qint64 kMaxFileBytes = qint64(16) << 20;
    static constexpr qsizetype kMaxRows = 100000;

    CardList() = default;
    // An empty list is an error too.
    static CardList read(const QString& path);
    static CardList fromBytes(const QByteArray& bytes);

    bool ok() const { return error_.isEmpty(); }
    // Why the list cannot be used, for the person printing; empty when it can.
    const QString& error() const { return error_; }
    // The line of the file (from 1) the error lies on; 0 when it has none.
    int errorLine() const { return errorLine_; }

    Encoding encoding() const { return encoding_; }
    const QStringList& columns() const { return columns_; }
    qsizetype rowCount() const { return qsizetype(rows_.size()); }
    // One value for every column.
    const QStringList& row(qsizetype index) const { return rows_[std::size_t(index)]; }
    // The column of that name, or -1.
    int column(const QString& name) const;

    // The field names that no column names, in the order given.
    QStringList missingColumns(const QStringList& fields) const;
    // Why the list cannot print page: its own error, or the columns its fields
    // need and the list lacks. Empty when it can.
    QString problemFor(const PmrData& page) const;

private:
    void fail(const QString& message, int line);

    Encoding encoding_ = Encoding::Utf8;
    QStringList columns_;
    std::vector<QStringList> rows_;
    QString error_;
    int errorLine_ = 0;
};

} // namespace print
