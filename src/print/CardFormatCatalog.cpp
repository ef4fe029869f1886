// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFormatCatalog.h"

#include "platform/Codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Longest line kept in memory; a longer one is skipped whole.
constexpr qsizetype kMaxLineBytes = qsizetype(1) << 20;
constexpr qint64 kChunkBytes = 64 * 1024;

const QByteArray kCurrentKey = QByteArrayLiteral("current=");

// Reads LF-terminated lines in bounded chunks, so that a file without line
// breaks never lands in memory whole. A trailing CR is dropped.
class LineReader {
public:
    enum class Result { Line, TooLong, End };

    explicit LineReader(QIODevice& device) : device_(device) {}

    Result next(QByteArray& line)
    {
        line.clear();
        bool any = false;
        bool tooLong = false;
        for (;;) {
            if (pos_ >= buffer_.size() && !fill())
                break;
            any = true;
            const qsizetype lf = buffer_.indexOf('\n', pos_);
            const qsizetype end = lf < 0 ? buffer_.size() : lf;
            if (!tooLong) {
                // One byte of slack for a CR that is dropped below.
                if (line.size() + (end - pos_) > kMaxLineBytes + 1) {
                    tooLong = true;
                    line = QByteArray();
                } else {
                    line.append(buffer_.constData() + pos_, end - pos_);
                }
            }
            if (lf >= 0) {
                pos_ = lf + 1;
                break;
            }
            pos_ = end;
        }
        if (!any)
            return Result::End;
        if (line.endsWith('\r'))
            line.chop(1);
        if (tooLong || line.size() > kMaxLineBytes) {
            line = QByteArray();
            return Result::TooLong;
        }
        return Result::Line;
    }

private:
    bool fill()
    {
        buffer_ = device_.read(kChunkBytes);
        pos_ = 0;
        return !buffer_.isEmpty();
    }

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
};

// The text up to its first NUL, as a C string would read it.
QByteArray cString(const QByteArray& text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atoi: white space, an optional sign, decimal digits up to the first other
// character. Values beyond the int range saturate.
int toInt(const char* p, const char* end)
{
    while (p < end && isCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    constexpr std::int64_t kLimit = std::int64_t(INT_MAX) + 1;
    std::int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        if (value <= kLimit)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        return value >= kLimit ? INT_MIN : int(-value);
    return value >= INT_MAX ? INT_MAX : int(value);
}

int toInt(const QByteArray& text)
{
    return toInt(text.constData(), text.constData() + text.size());
}

CardFormat builtIn(const char* name, int pw, int ph, int cw, int ch, int cols, int rows,
                   int left, int top, int gx, int gy)
{
    return CardFormat{QByteArray(name), pw, ph, cw, ch, cols, rows, left, top, gx, gy};
}

// The name as it can be written: no comma (it would end the name early), no LF or
// NUL (they would end the line), at most kMaxNameBytes whole characters.
QByteArray writableName(const QByteArray& name)
{
    QByteArray out;
    out.reserve(name.size() + 8);
    for (const char c : name) {
        if (c == ',')
            out.append("\x81\x43"); // full-width comma
        else if (c == '\0' || c == '\n' || c == '\r')
            out.append(' ');
        else
            out.append(c);
    }
    return platform::truncateCp932(out, CardFormat::kMaxNameBytes);
}

bool copyFileAtomically(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (;;) {
        const QByteArray chunk = in.read(kChunkBytes);
        if (chunk.isEmpty())
            break;
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            break;
        }
    }
    if (in.error() != QFileDevice::NoError)
        out.cancelWriting();
    return out.commit();
}

} // namespace

CardFormatCatalog::CardFormatCatalog()
{
    // "名刺10面 A4" and "名刺 8面 A4" in CP932.
    formats_.push_back(builtIn("\x96\xbc\x8e\x68" "10" "\x96\xca" " A4",
                                210, 297, 91, 55, 2, 5, 14, 11, 0, 0));
    formats_.push_back(builtIn("\x96\xbc\x8e\x68" " 8" "\x96\xca" " A4",
                                210, 297, 91, 55, 2, 4, 15, 25, 8, 9));
    fixedCount_ = count();
}

CardFormatCatalog& CardFormatCatalog::instance()
{
    static CardFormatCatalog catalog;
    return catalog;
}

bool CardFormatCatalog::parseLine(const QByteArray& text, CardFormat& out)
{
    const QByteArray line = cString(text);
    qsizetype comma = line.indexOf(',');
    if (comma < 0)
        return false;
    // A CP932 trail byte is never 0x2C, so a byte search finds only real commas.
    CardFormat f;
    f.name = platform::truncateCp932(line.left(comma), CardFormat::kMaxNameBytes);
    int* const fields[] = {&f.paperWidth, &f.paperHeight, &f.cardWidth, &f.cardHeight,
                           &f.columns,    &f.rows,        &f.leftMargin, &f.topMargin,
                           &f.gapX,       &f.gapY};
    for (int* field : fields) {
        const qsizetype start = comma + 1;
        comma = line.indexOf(',', start);
        if (comma < 0)
            return false;
        *field = toInt(line.constData() + start, line.constData() + comma);
    }
    out = f;
    return true;
}

QByteArray CardFormatCatalog::formatLine(const CardFormat& f)
{
    QByteArray line = writableName(f.name);
    for (const int v : {f.paperWidth, f.paperHeight, f.cardWidth, f.cardHeight, f.columns,
                        f.rows, f.leftMargin, f.topMargin, f.gapX, f.gapY}) {
        line += ',';
        line += QByteArray::number(v);
    }
    line += ',';
    return line;
}

void CardFormatCatalog::loadFolderFormats(const QString& appDir)
{
    const QDir dir(QDir(appDir).filePath(QStringLiteral("cardfmt")));
    if (!dir.exists())
        return;
    QStringList names = dir.entryList({QStringLiteral("*.cf")}, QDir::Files | QDir::Hidden,
                                      QDir::Unsorted);
    std::sort(names.begin(), names.end());
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        LineReader reader(file);
        QByteArray line;
        CardFormat f;
        if (reader.next(line) == LineReader::Result::Line && parseLine(line, f))
            formats_.push_back(f);
    }
}

void CardFormatCatalog::loadFile(const QString& appDir, const QString& name)
{
    fixedCount_ = count();
    const QString path = QDir(appDir).filePath(name);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;

    // Anything not taken in byte for byte would be gone after the next save.
    bool dropped = false;
    LineReader reader(file);
    QByteArray line;
    LineReader::Result r = reader.next(line);
    if (r != LineReader::Result::End) {
        const QByteArray first = cString(line);
        const qsizetype key = r == LineReader::Result::Line ? first.indexOf(kCurrentKey) : -1;
        if (key < 0) {
            dropped = true; // the whole file stays unread
        } else {
            const QByteArray value = first.mid(key + kCurrentKey.size());
            current_ = toInt(value);
            dropped = line != kCurrentKey + QByteArray::number(current_);
            while ((r = reader.next(line)) != LineReader::Result::End) {
                CardFormat f;
                if (r == LineReader::Result::Line && parseLine(line, f)) {
                    formats_.push_back(f);
                    dropped = dropped || formatLine(f) != line;
                } else if (r == LineReader::Result::TooLong || !line.isEmpty()) {
                    dropped = true;
                }
            }
        }
    }
    if (current_ < 0 || current_ >= count())
        current_ = 0;
    if (dropped)
        unreadFile_ = QFileInfo(path).absoluteFilePath();
}

bool CardFormatCatalog::backUpUnreadFile() const
{
    if (!QFileInfo::exists(unreadFile_))
        return true; // nothing left to keep
    return copyFileAtomically(unreadFile_, unreadFile_ + QStringLiteral(".bak"));
}

bool CardFormatCatalog::saveFile(const QString& path)
{
    const bool replacesUnread =
        !unreadFile_.isEmpty() && QFileInfo(path).absoluteFilePath() == unreadFile_;
    if (replacesUnread && !backUpUnreadFile())
        return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool ok = file.write(kCurrentKey + QByteArray::number(current_) + "\r\n") >= 0;
    for (int i = fixedCount_; ok && i < count(); ++i)
        ok = file.write(formatLine(formats_[size_t(i)]) + "\r\n") >= 0;
    if (!ok || !file.commit())
        return false; // an uncommitted QSaveFile leaves the old file as it was
    if (replacesUnread)
        unreadFile_.clear(); // the original now lives in the backup; keep it there
    return true;
}

CardFormat CardFormatCatalog::format(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return formats_[size_t(index)];
}

void CardFormatCatalog::setCurrent(int index)
{
    if (index >= 0 && index < count())
        current_ = index;
}

void CardFormatCatalog::append(const CardFormat& f)
{
    formats_.push_back(f);
    formats_.back().name = platform::truncateCp932(f.name, CardFormat::kMaxNameBytes);
}

bool CardFormatCatalog::replace(int index, const CardFormat& f)
{
    if (!isUserIndex(index))
        return false;
    CardFormat& slot = formats_[size_t(index)];
    slot = f;
    slot.name = platform::truncateCp932(f.name, CardFormat::kMaxNameBytes);
    return true;
}

bool CardFormatCatalog::remove(int index)
{
    if (!isUserIndex(index))
        return false;
    formats_.erase(formats_.begin() + index);
    if (index < current_)
        --current_;
    else if (index == current_)
        current_ = 0;
    return true;
}
