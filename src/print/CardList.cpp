#include "print/CardList.h"

#include "platform/Codec.h"
#include "print/CardFields.h"
#include "resources/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

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
        names += QStringLiteral("「%1」").arg(m);
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
            list.encoding_ = Encoding::Cp932;
            text = platform::fromCp932(bytes);
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
            list.fail(resources::loadString(resources::ids::ListTooLarge), 0);
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
