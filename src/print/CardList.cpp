// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardList.h"

#include "platform/Codec.h"
#include "print/CardFields.h"
#include "resources/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <variant>

namespace print {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool allBlank(const QStringList& fields)
{
    for (const QString& f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

// The length of the UTF-8 sequence of a character beyond ASCII at p, or 0 when
// none starts there (overlong forms and surrogates are none).
int utf8Length(const unsigned char* p, qsizetype left)
{
    const unsigned char c = p[0];
    unsigned char lo = 0x80, hi = 0xBF;
    int length = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        lo = c == 0xE0 ? 0xA0 : lo;
        hi = c == 0xED ? 0x9F : hi;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        lo = c == 0xF0 ? 0x90 : lo;
        hi = c == 0xF4 ? 0x8F : hi;
    }
    if (length == 0 || left < length || p[1] < lo || p[1] > hi)
        return 0;
    for (int k = 2; k < length; ++k)
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    return length;
}

int lineOf(const QByteArray& bytes, qsizetype at)
{
    return int(bytes.left(at).count('\n')) + 1;
}

// The text of bytes that are not UTF-8, read as CP932; or, when they are no
// CP932 text either, the line (from 1) of the first byte that is not. CP932
// text is one- and two-byte characters, each one the decoder knows. Bytes that
// hold more UTF-8 characters beyond ASCII than stray bytes are UTF-8 with
// damage, whatever CP932 makes of them: in a CP932 list, the bytes that happen
// to form UTF-8 are far fewer than those that do not.
std::variant<QString, int> cp932Text(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype wide = 0, stray = 0, firstStray = -1;
    for (qsizetype i = 0; i < n;) {
        const int length = p[i] < 0x80 ? 1 : utf8Length(p + i, n - i);
        wide += length > 1;
        stray += length == 0;
        if (length == 0 && firstStray < 0)
            firstStray = i;
        i += std::max(length, 1);
    }
    if (wide > stray)
        return lineOf(bytes, firstStray);
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        const bool single = c < 0x80 || (c >= 0xA1 && c <= 0xDF);
        const bool pair = platform::isCp932LeadByte(c) && i + 1 < n
                          && ((p[i + 1] >= 0x40 && p[i + 1] <= 0x7E) || (p[i + 1] >= 0x80 && p[i + 1] <= 0xFC));
        if (!single && !pair)
            return lineOf(bytes, i);
        i += pair ? 2 : 1;
    }
    // A pair no character has decodes as the replacement character, which CP932
    // cannot hold; line breaks are single bytes, so the lines stay the same.
    QString text = platform::fromCp932(bytes);
    if (const qsizetype unknown = text.indexOf(QChar::ReplacementCharacter); unknown >= 0)
        return int(QStringView(text).left(unknown).count(u'\n')) + 1;
    return text;
}

// RFC 4180 records of a decoded text, with the line each starts on.
class CsvReader {
public:
    explicit CsvReader(const QString& text) : s_(text), n_(text.size()) {}

    bool atEnd() const { return i_ >= n_; }
    // The next record; false with errorId() set when it cannot be read.
    bool next(QStringList& fields, int& line);
    int errorId() const { return errorId_; }
    int errorLine() const { return errorLine_; }

private:
    bool fail(int id, int line)
    {
        errorId_ = id;
        errorLine_ = line;
        return false;
    }
    bool atLineEnd() const { return i_ >= n_ || s_[i_] == u'\r' || s_[i_] == u'\n'; }
    // Past a CR LF, LF or CR; counts the line.
    void skipLineBreak()
    {
        if (s_[i_] == u'\r' && i_ + 1 < n_ && s_[i_ + 1] == u'\n')
            ++i_;
        ++i_;
        ++line_;
    }
    // A quoted field from its opening quote; the record began at start, on line.
    bool quoted(QString& field, qsizetype start, int line);

    const QString& s_;
    const qsizetype n_;
    qsizetype i_ = 0;
    int line_ = 1;
    int errorId_ = 0;
    int errorLine_ = 0;
};

bool CsvReader::quoted(QString& field, qsizetype start, int line)
{
    const int opened = line_;
    ++i_;
    for (;;) {
        if (i_ - start > CardList::kMaxRowChars)
            return fail(resources::ids::ListRowTooLong, line);
        if (i_ >= n_)
            return fail(resources::ids::ListQuoteNotClosed, opened);
        const QChar c = s_[i_];
        if (c == u'"') {
            if (i_ + 1 < n_ && s_[i_ + 1] == u'"') {
                field += u'"';
                i_ += 2;
                continue;
            }
            ++i_;
            return true;
        }
        if (c == u'\r' || c == u'\n') {
            field += QLatin1String("\r\n");
            skipLineBreak();
            continue;
        }
        field += c;
        ++i_;
    }
}

bool CsvReader::next(QStringList& fields, int& line)
{
    fields.clear();
    line = line_;
    const qsizetype start = i_;
    for (;;) {
        QString field;
        qsizetype j = i_;
        while (j < n_ && isBlank(s_[j]))
            ++j;
        if (j < n_ && s_[j] == u'"') {
            i_ = j;
            if (!quoted(field, start, line))
                return false;
            while (i_ < n_ && isBlank(s_[i_]))
                ++i_;
            if (!atLineEnd() && s_[i_] != u',')
                return fail(resources::ids::ListTextAfterQuote, line_);
        } else {
            const qsizetype from = i_;
            while (!atLineEnd() && s_[i_] != u',')
                ++i_;
            field = s_.mid(from, i_ - from);
        }
        fields.append(field);
        if (i_ - start > CardList::kMaxRowChars)
            return fail(resources::ids::ListRowTooLong, line);
        if (i_ < n_ && s_[i_] == u',') {
            ++i_;
            continue;
        }
        if (i_ < n_)
            skipLineBreak();
        return true;
    }
}

} // namespace

int CardList::column(const QString& name) const
{
    return int(columns_.indexOf(name));
}

QStringList CardList::missingColumns(const QStringList& fields) const
{
    QStringList missing;
    for (const QString& f : fields)
        if (!columns_.contains(f))
            missing.append(f);
    return missing;
}

QString CardList::problemFor(const PmrData& page) const
{
    if (!ok())
        return error_;
    const QStringList missing = missingColumns(cardFields(page));
    if (missing.isEmpty())
        return {};
    QString names;
    for (const QString& m : missing)
        names += QString::fromUtf8(resources::texts::ListColumnName).arg(m);
    return resources::formatString(resources::ids::ListColumnsMissing, names);
}

void CardList::fail(const QString& message, int line)
{
    columns_.clear();
    rows_.clear();
    error_ = message;
    errorLine_ = line;
}

CardList CardList::read(const QString& path)
{
    CardList list;
    const QFileInfo info(path);
    QFile file(path);
    // Only a regular file: a FIFO or a device would never end.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        list.fail(resources::loadString(resources::ids::FileCannotOpen), 0);
        return list;
    }
    if (info.size() > kMaxFileBytes) {
        list.fail(resources::loadString(resources::ids::ListTooLarge), 0);
        return list;
    }
    return fromBytes(file.read(kMaxFileBytes + 1));
}

CardList CardList::fromBytes(const QByteArray& bytes)
{
    CardList list;
    if (bytes.size() > kMaxFileBytes) {
        list.fail(resources::loadString(resources::ids::ListTooLarge), 0);
        return list;
    }
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        list.encoding_ = Encoding::Utf8Bom;
        text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError()) {
            std::variant<QString, int> cp932 = cp932Text(bytes);
            if (const int* line = std::get_if<int>(&cp932)) {
                list.fail(resources::formatString(resources::ids::ListBadEncoding, QString::number(*line)), *line);
                return list;
            }
            list.encoding_ = Encoding::Cp932;
            text = std::move(std::get<QString>(cp932));
        }
    }

    CsvReader csv(text);
    QStringList fields;
    int line = 0;
    bool header = true;
    while (!csv.atEnd()) {
        if (!csv.next(fields, line)) {
            list.fail(resources::formatString(csv.errorId(), QString::number(csv.errorLine())), csv.errorLine());
            return list;
        }
        if (allBlank(fields))
            continue;
        if (header) {
            for (const QString& f : fields)
                list.columns_.append(f.trimmed());
            header = false;
            continue;
        }
        // Empty fields past the last column are no more than trailing commas.
        while (fields.size() > list.columns_.size() && fields.back().trimmed().isEmpty())
            fields.removeLast();
        if (fields.size() > list.columns_.size()) {
            list.fail(resources::formatString(resources::ids::ListTooManyFields, QString::number(line)), line);
            return list;
        }
        if (list.rowCount() == kMaxRows) {
            list.fail(resources::loadString(resources::ids::ListTooManyRows), 0);
            return list;
        }
        fields.resize(list.columns_.size());
        list.rows_.push_back(fields);
    }
    if (list.rows_.empty())
        list.fail(resources::loadString(resources::ids::ListEmpty), 0);
    return list;
}

} // namespace print
