// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dc.h"

#include "platform/DcInternal.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

using dcdetail::i64;

namespace {

// Larger sizes overflow the font engine's metrics.
constexpr int kMaxFontPixels = 16384;
constexpr int kDefaultFontPixels = 12;

QFontMetrics metricsOf(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// The pixel size whose cell height (ascent + descent) comes closest to cell
// without exceeding it.
int pixelSizeForCell(QFont font, i64 cell, const QPaintDevice* device)
{
    constexpr int kReference = 1024;
    font.setPixelSize(kReference);
    const QFontMetricsF ref = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    const double total = ref.ascent() + ref.descent();
    const double estimate = total > 0 ? double(cell) * kReference / total : double(cell);
    int size = int(std::clamp<double>(std::round(estimate), 1.0, double(kMaxFontPixels)));
    for (int tries = 0; tries < 3 && size > 1; ++tries) {
        font.setPixelSize(size);
        const QFontMetrics m = metricsOf(font, device);
        if (m.ascent() + m.descent() <= cell)
            break;
        --size;
    }
    return size;
}

struct TextLines {
    QStringList lines;
    std::vector<i64> widths;
    i64 maxWidth = 0;
    int ascent = 0;
    int lineHeight = 0;
};

// Lines end at CR LF, LF or CR; a break at the very end starts no further line.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && text[j] != u'\r' && text[j] != u'\n')
            ++j;
        lines.push_back(text.mid(i, j - i));
        if (j < n && text[j] == u'\r') {
            ++j;
            if (j < n && text[j] == u'\n')
                ++j;
        } else if (j < n) {
            ++j;
        }
        i = j;
    }
    return lines;
}

TextLines layOut(const QString& text, unsigned flags, const QFont& font, const QPaintDevice* device)
{
    TextLines t;
    const QFontMetrics fm = metricsOf(font, device);
    t.ascent = fm.ascent();
    t.lineHeight = fm.ascent() + fm.descent();
    if (flags & dt::SingleLine) {
        if (!text.isEmpty())
            t.lines.push_back(text);
    } else {
        t.lines = splitLines(text);
    }
    for (QString& line : t.lines) {
        for (QChar& c : line)
            if (c == u'\t' || c == u'\r' || c == u'\n')
                c = u' ';
        const i64 w = fm.horizontalAdvance(line);
        t.widths.push_back(w);
        t.maxWidth = std::max(t.maxWidth, w);
    }
    return t;
}

} // namespace

QFont Dc::makeFont(const LogFont& lf, const QPaintDevice* device)
{
    QFont f;
    const QString face = lf.faceNameUnicode();
    if (!face.isEmpty())
        f.setFamily(face);
    const int weight = lf.weight <= 0 ? 400 : std::min(lf.weight, 1000);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    f.setKerning(false); // text extents are plain sums of advances
    if (lf.quality == 3) // NONANTIALIASED_QUALITY
        f.setStyleStrategy(QFont::NoAntialias);
    const i64 h = lf.height;
    int size = kDefaultFontPixels;
    if (h < 0)
        size = int(std::min<i64>(-h, kMaxFontPixels));
    else if (h > 0)
        size = pixelSizeForCell(f, h, device);
    f.setPixelSize(std::max(size, 1));
    return f;
}

void Dc::selectFont(const LogFont& font)
{
    st_.font = makeFont(font, painter_ ? painter_->device() : nullptr);
}

void Dc::setFont(const QFont& font)
{
    st_.font = font;
    if (st_.font.pixelSize() > kMaxFontPixels)
        st_.font.setPixelSize(kMaxFontPixels);
}

TextMetrics Dc::textMetrics() const
{
    const QFontMetrics fm = metricsOf(st_.font, painter_ ? painter_->device() : nullptr);
    TextMetrics m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = m.ascent + m.descent;
    const int em = st_.font.pixelSize() > 0 ? st_.font.pixelSize() : m.height;
    m.internalLeading = std::max(0, m.height - em);
    return m;
}

int Dc::measureText(const QString& text, QRect& rect, unsigned flags) const
{
    const TextLines t = layOut(text, flags, st_.font, painter_ ? painter_->device() : nullptr);
    const i64 l = rect.left();
    const i64 top = rect.top();
    i64 height = i64(t.lines.size()) * t.lineHeight;
    if (t.lines.isEmpty() && (flags & dt::SingleLine))
        height = t.lineHeight;
    rect = dcdetail::rectFromEdges(l, top, l + t.maxWidth, top + height);
    return saturate(height);
}

int Dc::drawText(const QString& text, const QRect& rect, unsigned flags)
{
    QRect r = rect;
    return drawText(text, r, flags);
}

int Dc::drawText(const QString& text, QRect& rect, unsigned flags)
{
    if (flags & dt::CalcRect)
        return measureText(text, rect, flags);
    if (!isValid())
        return 0;
    const TextLines t = layOut(text, flags, st_.font, painter_->device());
    const i64 l = rect.left();
    const i64 top = rect.top();
    const i64 r = i64(rect.right()) + 1;
    const i64 b = i64(rect.bottom()) + 1;
    const i64 lh = t.lineHeight;
    i64 y = top;
    if (flags & dt::SingleLine) {
        if (flags & dt::VCenter)
            y = top + (b - top - lh) / 2;
        else if (flags & dt::Bottom)
            y = b - lh;
    }
    const i64 ox = st_.origin.x();
    const i64 oy = st_.origin.y();
    painter_->save();
    if (!(flags & dt::NoClip)) {
        const QRect box = dcdetail::rectFromEdges(l + ox, top + oy, r + ox, b + oy);
        painter_->setClipRect(box & deviceRect_, Qt::IntersectClip);
    }
    const QRect area = drawableRect();
    painter_->setFont(st_.font);
    painter_->setPen(st_.textColor);
    painter_->setBrush(Qt::NoBrush);
    const bool opaque = st_.bkMode == BkMode::Opaque;
    for (qsizetype i = 0; i < t.lines.size(); ++i, y += lh) {
        const i64 w = t.widths[size_t(i)];
        i64 x = l;
        if (flags & dt::Center)
            x = (l + r - w) / 2;
        else if (flags & dt::Right)
            x = r - w;
        const i64 X = x + ox;
        const i64 Y = y + oy;
        // Lines wholly off the surface are skipped; the rest stay in the
        // rasterizer's range.
        if (X + w < area.left() - lh || X > i64(area.right()) + lh || Y + lh < area.top()
            || Y > i64(area.bottom()) || std::abs(X) > (1 << 22) || std::abs(Y) > (1 << 22))
            continue;
        if (opaque) {
            painter_->setCompositionMode(QPainter::CompositionMode_Source);
            painter_->fillRect(QRect(int(X), int(Y), int(std::min<i64>(w, 1 << 24)), int(lh)),
                               st_.bkColor);
        }
        painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter_->drawText(QPoint(int(X), int(Y + t.ascent)), t.lines[i]);
    }
    painter_->restore();
    return saturate(y - top);
}

} // namespace platform
