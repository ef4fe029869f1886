// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dc.h"

#include "platform/DcInternal.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

using dcdetail::i64;

namespace {

constexpr QRgb kOpaque = 0xFF000000u;

bool usesSource(BltRop rop)
{
    return rop != BltRop::Whiteness;
}

template <typename Op>
void combineLine(QRgb* d, const QRgb* s, int n, Op op)
{
    for (int i = 0; i < n; ++i)
        d[i] = op(d[i], s[i]) | kOpaque;
}

void ropLine(BltRop rop, QRgb* d, const QRgb* s, int n)
{
    switch (rop) {
    case BltRop::SrcCopy: combineLine(d, s, n, [](QRgb, QRgb b) { return b; }); break;
    case BltRop::SrcAnd: combineLine(d, s, n, [](QRgb a, QRgb b) { return a & b; }); break;
    case BltRop::SrcPaint: combineLine(d, s, n, [](QRgb a, QRgb b) { return a | b; }); break;
    case BltRop::AndNotSrc: combineLine(d, s, n, [](QRgb a, QRgb b) { return a & ~b; }); break;
    default: break;
    }
}

bool isRaw32(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
           || f == QImage::Format_ARGB32_Premultiplied;
}

// The pixels of r in src as Format_RGB32, colour bits as stored (alpha is not
// applied); what lies outside src is black.
QImage rgbBlock(const QImage& src, i64 l, i64 t, int w, int h)
{
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(kOpaque);
    const i64 il = std::max<i64>(l, 0);
    const i64 it = std::max<i64>(t, 0);
    const i64 ir = std::min<i64>(l + w, src.width());
    const i64 ib = std::min<i64>(t + h, src.height());
    if (ir <= il || ib <= it)
        return out;
    const int iw = int(ir - il);
    const int ih = int(ib - it);
    QImage part;
    const QImage* from = &src;
    i64 fx = il;
    i64 fy = it;
    if (!isRaw32(src.format())) {
        part = src.copy(int(il), int(it), iw, ih).convertToFormat(QImage::Format_RGB32);
        from = &part;
        fx = 0;
        fy = 0;
    }
    for (int y = 0; y < ih; ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(from->constScanLine(int(fy + y))) + fx;
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(int(it - t + y))) + (il - l);
        for (int x = 0; x < iw; ++x)
            d[x] = s[x] | kOpaque;
    }
    return out;
}

// Source index of each destination pixel 0..n-1 for a nearest-neighbour
// stretch of m source pixels over n (sampling pixel centres).
i64 sourceIndex(i64 k, i64 n, i64 m, bool mirror)
{
    if (mirror)
        k = n - 1 - k;
    return (2 * k + 1) * m / (2 * n);
}

} // namespace

bool Dc::composeBlock(const QRect& deviceDest, const QImage& block)
{
    if (block.isNull())
        return false;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(deviceDest.topLeft(), block);
    return true;
}

bool Dc::bitBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy, BltRop rop)
{
    if (!usesSource(rop))
        return patBlt(x, y, w, h, rop);
    if (!src.image_)
        return false;
    return bitBlt(x, y, w, h, *src.image_, saturate(i64(sx) + src.st_.origin.x()),
                  saturate(i64(sy) + src.st_.origin.y()), rop);
}

bool Dc::bitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, BltRop rop)
{
    if (!usesSource(rop))
        return patBlt(x, y, w, h, rop);
    if (!isValid() || src.isNull())
        return false;
    if (w <= 0 || h <= 0)
        return true;
    if (rop != BltRop::SrcCopy && !image_)
        return false; // the destination cannot be read back
    // Keep the part that lies inside the source, then the part that can show.
    i64 dl = i64(x) + st_.origin.x();
    i64 dt = i64(y) + st_.origin.y();
    i64 sl = sx;
    i64 stp = sy;
    i64 dr = dl + w;
    i64 db = dt + h;
    const QRect area = drawableRect();
    const i64 cutL = std::max({i64(0) - sl, i64(area.left()) - dl, i64(0)});
    const i64 cutT = std::max({i64(0) - stp, i64(area.top()) - dt, i64(0)});
    dl += cutL;
    sl += cutL;
    dt += cutT;
    stp += cutT;
    dr = std::min({dr, dl + (i64(src.width()) - sl), i64(area.right()) + 1});
    db = std::min({db, dt + (i64(src.height()) - stp), i64(area.bottom()) + 1});
    if (dr <= dl || db <= dt)
        return true;
    const int bw = int(dr - dl);
    const int bh = int(db - dt);
    QImage block = rgbBlock(src, sl, stp, bw, bh);
    if (block.isNull())
        return false;
    if (rop != BltRop::SrcCopy) {
        const QImage source = block;
        block = rgbBlock(*image_, dl, dt, bw, bh);
        if (block.isNull())
            return false;
        for (int row = 0; row < bh; ++row)
            ropLine(rop, reinterpret_cast<QRgb*>(block.scanLine(row)),
                    reinterpret_cast<const QRgb*>(source.constScanLine(row)), bw);
    }
    return composeBlock(QRect(int(dl), int(dt), bw, bh), block);
}

bool Dc::patBlt(int x, int y, int w, int h, BltRop rop)
{
    if (!isValid())
        return false;
    if (w <= 0 || h <= 0)
        return true;
    const i64 l = i64(x) + st_.origin.x();
    const i64 t = i64(y) + st_.origin.y();
    switch (rop) {
    case BltRop::Whiteness:
        painter_->setCompositionMode(QPainter::CompositionMode_Source);
        fillDeviceRect(l, t, l + w, t + h, QBrush(Qt::white));
        return true;
    default: return false;
    }
}

bool Dc::drawImage(const QRect& dest, const QImage& image, const QRect& src)
{
    return drawImage(dest.x(), dest.y(), dest.width(), dest.height(), image, src.x(), src.y(),
                     src.width(), src.height());
}

bool Dc::drawImage(int x, int y, const QImage& image)
{
    return bitBlt(x, y, image.width(), image.height(), image, 0, 0, BltRop::SrcCopy);
}

bool Dc::drawImage(int x, int y, int w, int h, const QImage& image, int sx, int sy, int sw, int sh)
{
    if (!isValid() || image.isNull() || w == 0 || h == 0 || sw == 0 || sh == 0)
        return false;
    const bool mirrorX = (w < 0) != (sw < 0);
    const bool mirrorY = (h < 0) != (sh < 0);
    // A negative extent spans the pixels just before its corner.
    const i64 W = std::abs(i64(w));
    const i64 H = std::abs(i64(h));
    const i64 SW = std::abs(i64(sw));
    const i64 SH = std::abs(i64(sh));
    const i64 dl = (w < 0 ? i64(x) + w : i64(x)) + st_.origin.x();
    const i64 dt = (h < 0 ? i64(y) + h : i64(y)) + st_.origin.y();
    const i64 sl = sw < 0 ? i64(sx) + sw : i64(sx);
    const i64 stp = sh < 0 ? i64(sy) + sh : i64(sy);
    if (!mirrorX && !mirrorY && W == SW && H == SH)
        return bitBlt(saturate(dl - st_.origin.x()), saturate(dt - st_.origin.y()),
                      int(W), int(H), image, saturate(sl), saturate(stp));

    const QRect area = drawableRect();
    const i64 vl = std::max<i64>(dl, area.left());
    const i64 vt = std::max<i64>(dt, area.top());
    const i64 vr = std::min<i64>(dl + W, i64(area.right()) + 1);
    const i64 vb = std::min<i64>(dt + H, i64(area.bottom()) + 1);
    if (vr <= vl || vb <= vt)
        return true;

    // Source column and row of every visible pixel; the map is monotonic, so the
    // pixels whose source lies inside the image form one run.
    auto buildMap = [](i64 from, i64 to, i64 origin, i64 n, i64 m, bool mirror, i64 s0,
                       i64 limit, std::vector<int>& map, i64& first) {
        map.clear();
        first = -1;
        for (i64 v = from; v < to; ++v) {
            const i64 src = s0 + sourceIndex(v - origin, n, m, mirror);
            if (src < 0 || src >= limit) {
                if (first >= 0)
                    break;
                continue;
            }
            if (first < 0)
                first = v;
            map.push_back(int(src));
        }
    };
    std::vector<int> cols;
    std::vector<int> rows;
    i64 firstCol = 0;
    i64 firstRow = 0;
    buildMap(vl, vr, dl, W, SW, mirrorX, sl, image.width(), cols, firstCol);
    buildMap(vt, vb, dt, H, SH, mirrorY, stp, image.height(), rows, firstRow);
    if (cols.empty() || rows.empty())
        return true;
    QImage block(int(cols.size()), int(rows.size()), QImage::Format_RGB32);
    if (block.isNull())
        return false;
    // A 32-bit picture is sampled where it lies: a large picture reduced for the
    // screen is read only at the pixels that show. Others are converted first.
    QImage part;
    const QImage* from = &image;
    int c0 = 0;
    int r0 = 0;
    if (!isRaw32(image.format())) {
        const auto [minCol, maxCol] = std::minmax_element(cols.begin(), cols.end());
        const auto [minRow, maxRow] = std::minmax_element(rows.begin(), rows.end());
        part = rgbBlock(image, *minCol, *minRow, *maxCol - *minCol + 1, *maxRow - *minRow + 1);
        if (part.isNull())
            return false;
        from = &part;
        c0 = *minCol;
        r0 = *minRow;
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto* s = reinterpret_cast<const QRgb*>(from->constScanLine(rows[r] - r0));
        auto* d = reinterpret_cast<QRgb*>(block.scanLine(int(r)));
        for (size_t c = 0; c < cols.size(); ++c)
            d[c] = s[cols[c] - c0] | kOpaque;
    }
    return composeBlock(QRect(int(firstCol), int(firstRow), block.width(), block.height()), block);
}

bool maskedBlit(Dc& dest, int x, int y, int w, int h, const QImage& image, int ix, int iy,
                const QImage& mask, int mx, int my)
{
    dest.setTextColor(Qt::black);
    dest.setBkColor(Qt::white);
    dest.setBkMode(BkMode::Opaque);
    if (!dest.isValid())
        return false;
    if (w <= 0 || h <= 0)
        return true;
    // Work only on the part that can show.
    const QRect box = dest.clipBox();
    if (box.isEmpty())
        return true;
    const i64 l = std::max<i64>(x, box.left());
    const i64 t = std::max<i64>(y, box.top());
    const i64 r = std::min<i64>(i64(x) + w, i64(box.right()) + 1);
    const i64 b = std::min<i64>(i64(y) + h, i64(box.bottom()) + 1);
    if (r <= l || b <= t)
        return true;
    const int bw = int(r - l);
    const int bh = int(b - t);
    const QImage m = rgbBlock(mask, i64(mx) + (l - x), i64(my) + (t - y), bw, bh);
    QImage picture = rgbBlock(image, i64(ix) + (l - x), i64(iy) + (t - y), bw, bh);
    if (m.isNull() || picture.isNull())
        return false;
    for (int row = 0; row < bh; ++row)
        ropLine(BltRop::AndNotSrc, reinterpret_cast<QRgb*>(picture.scanLine(row)),
                reinterpret_cast<const QRgb*>(m.constScanLine(row)), bw);
    const int dx = int(l);
    const int dy = int(t);
    return dest.bitBlt(dx, dy, bw, bh, m, 0, 0, BltRop::SrcAnd)
           && dest.bitBlt(dx, dy, bw, bh, picture, 0, 0, BltRop::SrcPaint);
}

QImage maskFromColor(const QImage& image, QRgb key)
{
    QImage out = rgbBlock(image, 0, 0, image.width(), image.height());
    if (out.isNull())
        return out;
    const QRgb k = key | kOpaque;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = line[x] == k ? 0xFFFFFFFFu : kOpaque;
    }
    return out;
}

} // namespace platform
