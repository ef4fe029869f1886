// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VerticalText.h"

#include <QFontMetricsF>
#include <QHash>
#include <QFontDatabase>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <hb-ot.h>
#include <hb.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <memory>

namespace platform {

// ---------------------------------------------------------------- the LOGFONT

namespace vertical {

bool isVertical(const LogFont& font)
{
    return font.faceNameBytes().startsWith('@');
}

QString plainFace(const QString& face)
{
    return face.startsWith(u'@') ? face.mid(1) : face;
}

LogFont withVertical(const LogFont& font, bool on)
{
    if (isVertical(font) == on)
        return font;
    LogFont f = font;
    const QByteArray face = font.faceNameBytes();
    f.setFaceNameBytes(on ? "@" + face : face.mid(1));
    f.escapement = on ? kEscapement : 0;
    f.orientation = on ? kEscapement : 0;
    return f;
}

} // namespace vertical

// ---------------------------------------------------------------- shaping

namespace {

struct FontDeleter {
    void operator()(hb_font_t* f) const { hb_font_destroy(f); }
};
struct BufferDeleter {
    void operator()(hb_buffer_t* b) const { hb_buffer_destroy(b); }
};
using FontPtr = std::unique_ptr<hb_font_t, FontDeleter>;
using BufferPtr = std::unique_ptr<hb_buffer_t, BufferDeleter>;

// The tables come from the very font Qt draws with, so glyph ids agree.
hb_blob_t* tableOf(hb_face_t*, hb_tag_t tag, void* data)
{
    const char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), 0};
    auto* bytes = new QByteArray(static_cast<const QRawFont*>(data)->fontTable(name));
    if (bytes->isEmpty()) {
        delete bytes;
        return nullptr;
    }
    return hb_blob_create(bytes->constData(), unsigned(bytes->size()), HB_MEMORY_MODE_READONLY, bytes,
                          [](void* p) { delete static_cast<QByteArray*>(p); });
}

// A HarfBuzz face per font file, kept per thread: its tables load once.
hb_face_t* faceOf(const QRawFont& raw)
{
    thread_local QHash<QString, std::shared_ptr<hb_face_t>> faces;
    const QString key = raw.familyName() + u'\x1f' + raw.styleName() + u'\x1f' + QString::number(int(raw.weight()));
    auto found = faces.constFind(key);
    if (found != faces.cend())
        return found->get();
    auto* copy = new QRawFont(raw);
    std::shared_ptr<hb_face_t> face(
        hb_face_create_for_tables(tableOf, copy, [](void* p) { delete static_cast<QRawFont*>(p); }),
        hb_face_destroy);
    faces.insert(key, face);
    return face.get();
}

// Unicode Vertical_Orientation, with the choice a Tr character makes.
enum class Turn { Upright, Sideways, Across };

bool isHalfDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

struct Run {
    Turn turn;
    qsizetype from; // UTF-16 offsets in the line
    qsizetype to;
};

struct Shaper {
    QFont font;
    QRawFont raw;
    hb_face_t* face = nullptr;
    FontPtr hbFont;
    qreal scale = 1;    // pixels per font unit
    qreal em = 0;       // pixels
    qreal ascent = 0;   // of the font, pixels
    qreal descent = 0;
    qreal capHeight = 0;

    explicit Shaper(const QFont& f) : font(f), raw(QRawFont::fromFont(f, QFontDatabase::Japanese))
    {
        const QFontMetricsF fm(font);
        ascent = fm.ascent();
        descent = fm.descent();
        capHeight = fm.capHeight();
        em = font.pixelSize() > 0 ? font.pixelSize() : fm.height();
        if (!raw.isValid())
            return;
        face = faceOf(raw);
        hbFont.reset(hb_font_create(face));
        const unsigned upem = hb_face_get_upem(face);
        hb_font_set_scale(hbFont.get(), int(upem), int(upem));
        scale = raw.pixelSize() / qreal(upem ? upem : 1000);
        em = raw.pixelSize();
    }
    bool valid() const { return face != nullptr; }

    BufferPtr shapeDown(QStringView text) const
    {
        BufferPtr buffer(hb_buffer_create());
        hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(text.utf16()), int(text.size()), 0,
                            int(text.size()));
        hb_buffer_set_direction(buffer.get(), HB_DIRECTION_TTB);
        hb_buffer_set_script(buffer.get(), HB_SCRIPT_HAN);
        hb_buffer_set_language(buffer.get(), hb_language_from_string("ja", -1));
        static const hb_feature_t features[] = {
            {HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
            {HB_TAG('v', 'r', 't', '2'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        };
        hb_shape(hbFont.get(), buffer.get(), features, 2);
        return buffer;
    }

    // A Tr character stands upright only when the font has a vertical form for it.
    bool hasVerticalForm(char32_t c) const
    {
        hb_codepoint_t nominal = 0;
        if (!valid() || !hb_font_get_nominal_glyph(hbFont.get(), c, &nominal))
            return false;
        const QString s = QString::fromUcs4(&c, 1);
        const BufferPtr b = shapeDown(s);
        unsigned n = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(b.get(), &n);
        return n == 1 && info[0].codepoint != nominal;
    }

    Turn turnOf(char32_t c) const
    {
        switch (u_getIntPropertyValue(UChar32(c), UCHAR_VERTICAL_ORIENTATION)) {
        case U_VO_UPRIGHT:
        case U_VO_TRANSFORMED_UPRIGHT: return Turn::Upright;
        case U_VO_TRANSFORMED_ROTATED: return hasVerticalForm(c) ? Turn::Upright : Turn::Sideways;
        default: return Turn::Sideways;
        }
    }
};

// Splits a line into runs of one turn. Combining marks stay with what they mark.
std::vector<Run> runsOf(const QString& line, const Shaper& shaper)
{
    std::vector<Run> runs;
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype start = i;
        const char32_t c = line.at(i).isHighSurrogate() && i + 1 < line.size()
                               ? QChar::surrogateToUcs4(line.at(i), line.at(i + 1))
                               : char32_t(line.at(i).unicode());
        i += c > 0xFFFF ? 2 : 1;
        Turn turn;
        if (isHalfDigit(c)) {
            while (i < line.size() && isHalfDigit(line.at(i).unicode()))
                ++i;
            turn = i - start <= 2 ? Turn::Across : Turn::Sideways;
        } else if (!runs.empty() && u_getIntPropertyValue(UChar32(c), UCHAR_GENERAL_CATEGORY_MASK) & U_GC_M_MASK) {
            runs.back().to = i;
            continue;
        } else {
            turn = shaper.turnOf(c);
        }
        if (!runs.empty() && runs.back().turn == turn && turn != Turn::Across)
            runs.back().to = i;
        else
            runs.push_back({turn, start, i});
    }
    return runs;
}

// The face's own weight (OS/2 usWeightClass) is below semibold.
bool lacksBold(const QRawFont& raw)
{
    const QByteArray os2 = raw.fontTable("OS/2");
    return os2.size() >= 6 && ((uchar(os2[4]) << 8) | uchar(os2[5])) < 600;
}

QStringList splitLines(const QString& text)
{
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(u'\r', u'\n');
    if (s.endsWith(u'\n'))
        s.chop(1);
    QStringList lines = s.isEmpty() ? QStringList() : s.split(u'\n');
    for (QString& line : lines)
        line.replace(u'\t', u' ');
    return lines;
}

} // namespace

// ---------------------------------------------------------------- layout

// Builds one column at a time, top down, in column coordinates (x from the
// column's centre, y from its top).
class VerticalBuilder {
public:
    explicit VerticalBuilder(const QFont& font) : shaper_(font) {}

    void column(const QString& line, std::vector<VerticalLayout::Piece>& pieces, qreal& length)
    {
        qreal y = 0;
        for (const Run& run : runsOf(line, shaper_)) {
            const QString text = line.mid(run.from, run.to - run.from);
            switch (run.turn) {
            case Turn::Upright: y = upright(text, y, pieces); break;
            case Turn::Sideways: y = sideways(text, y, pieces); break;
            case Turn::Across: y = across(text, y, pieces); break;
            }
        }
        length = y;
    }

    // As far apart as the lines of a horizontal text.
    qreal pitch() const
    {
        const QFontMetrics fm(shaper_.font);
        return fm.ascent() + fm.descent();
    }

private:
    // Qt's own layout of a short text on one line, fallback fonts included.
    static QList<QGlyphRun> lineRuns(const QString& text, const QFont& font, qreal& width, qreal& ascent)
    {
        QTextLayout layout(text, font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            layout.endLayout();
            width = ascent = 0;
            return {};
        }
        line.setLineWidth(1e6);
        layout.endLayout();
        width = line.naturalTextWidth();
        ascent = line.ascent();
        return layout.glyphRuns();
    }

    void addRuns(const QList<QGlyphRun>& runs, qreal lineAscent, const QTransform& frame,
                 std::vector<VerticalLayout::Piece>& pieces)
    {
        // Positions in the runs are from the line's top; the frame's origin is the baseline.
        const QTransform toBaseline = QTransform::fromTranslate(0, -lineAscent) * frame;
        for (const QGlyphRun& r : runs)
            pieces.push_back({r, toBaseline});
    }

    // Characters that have no glyph in the font stand upright in a fallback font.
    qreal fallbackCell(const QString& text, qreal y, std::vector<VerticalLayout::Piece>& pieces)
    {
        qreal width = 0, ascent = 0;
        const QList<QGlyphRun> runs = lineRuns(text, shaper_.font, width, ascent);
        // The ideographic em box: its bottom 0.12 em below the baseline.
        addRuns(runs, ascent, QTransform::fromTranslate(-width / 2, y + shaper_.em * 0.88), pieces);
        return y + shaper_.em;
    }

    qreal upright(const QString& text, qreal y, std::vector<VerticalLayout::Piece>& pieces)
    {
        if (!shaper_.valid()) {
            for (qsizetype i = 0; i < text.size(); i += text.at(i).isHighSurrogate() ? 2 : 1)
                y = fallbackCell(text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1), y, pieces);
            return y;
        }
        const BufferPtr buffer = shaper_.shapeDown(text);
        unsigned n = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &n);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &n);
        const qreal k = shaper_.scale;
        QList<quint32> glyphs;
        QList<QPointF> positions;
        const auto flush = [&] {
            if (glyphs.isEmpty())
                return;
            QGlyphRun run;
            run.setRawFont(shaper_.raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            pieces.push_back({run, QTransform()});
            glyphs.clear();
            positions.clear();
        };
        for (unsigned i = 0; i < n;) {
            unsigned end = i;
            bool missing = false;
            while (end < n && info[end].cluster == info[i].cluster) {
                missing = missing || info[end].codepoint == 0;
                ++end;
            }
            if (missing) {
                flush();
                const qsizetype to = end < n ? qsizetype(info[end].cluster) : text.size();
                y = fallbackCell(text.mid(info[i].cluster, to - qsizetype(info[i].cluster)), y, pieces);
                i = end;
                continue;
            }
            for (; i < end; ++i) {
                // The offsets lead from the vertical origin (the column's centre line,
                // the top of the glyph's cell) to where the glyph is drawn from.
                positions.push_back(QPointF(pos[i].x_offset * k, y - pos[i].y_offset * k));
                glyphs.push_back(info[i].codepoint);
                // Every character takes a whole em, even where the face's
                // vertical metrics are proportional.
                const qreal advance = -pos[i].y_advance * k;
                y += advance > 0 ? std::max(advance, shaper_.em) : advance;
            }
        }
        flush();
        return y;
    }

    // Turned a quarter clockwise: the baseline runs down, the ascent to the right,
    // the font's height box centred on the column.
    qreal sideways(const QString& text, qreal y, std::vector<VerticalLayout::Piece>& pieces)
    {
        qreal width = 0, ascent = 0;
        const QList<QGlyphRun> runs = lineRuns(text, shaper_.font, width, ascent);
        QTransform frame;
        frame.translate(-(shaper_.ascent - shaper_.descent) / 2, y);
        frame.rotate(90);
        addRuns(runs, ascent, frame, pieces);
        return y + width;
    }

    // Upright across the column, narrowed to one em when wider, centred in a cell
    // of one em.
    qreal across(const QString& text, qreal y, std::vector<VerticalLayout::Piece>& pieces)
    {
        qreal width = 0, ascent = 0;
        const QList<QGlyphRun> runs = lineRuns(text, shaper_.font, width, ascent);
        const qreal squeeze = width > shaper_.em && width > 0 ? shaper_.em / width : 1.0;
        QTransform frame;
        frame.translate(-width * squeeze / 2, y + (shaper_.em + shaper_.capHeight) / 2);
        frame.scale(squeeze, 1);
        addRuns(runs, ascent, frame, pieces);
        return y + shaper_.em;
    }

    Shaper shaper_;
};

VerticalLayout::VerticalLayout(const QString& text, const QFont& font, Place place)
{
    VerticalBuilder builder(font);
    pitch_ = builder.pitch();
    if (font.weight() >= QFont::DemiBold)
        bolden_ = std::max<qreal>(1, font.pixelSize() / 32.0);
    const QStringList lines = splitLines(text);
    columns_ = int(lines.size());
    std::vector<std::vector<Piece>> columns(lines.size());
    std::vector<qreal> lengths(lines.size(), 0);
    qreal longest = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        builder.column(lines[i], columns[size_t(i)], lengths[size_t(i)]);
        longest = std::max(longest, lengths[size_t(i)]);
    }
    size_ = QSizeF(pitch_ * columns_, longest);
    for (size_t i = 0; i < columns.size(); ++i) {
        const qreal spare = longest - lengths[i];
        const qreal down = place == Place::Top ? 0 : place == Place::Bottom ? spare : spare / 2;
        // The first column is the rightmost.
        const qreal centre = size_.width() - pitch_ * (qreal(i) + 0.5);
        const QTransform shift = QTransform::fromTranslate(centre, down);
        for (Piece& piece : columns[i]) {
            piece.toBlock = piece.toBlock * shift;
            piece.strike = bolden_ > 0 && lacksBold(piece.run.rawFont());
            pieces_.push_back(std::move(piece));
        }
    }
}

void VerticalLayout::draw(QPainter& painter, QPointF topLeft) const
{
    const QTransform base = painter.transform();
    for (const Piece& piece : pieces_) {
        painter.setTransform(piece.toBlock * QTransform::fromTranslate(topLeft.x(), topLeft.y()) * base);
        painter.drawGlyphRun(QPointF(0, 0), piece.run);
        if (piece.strike)
            painter.drawGlyphRun(QPointF(bolden_, 0), piece.run);
    }
    painter.setTransform(base);
}

} // namespace platform
