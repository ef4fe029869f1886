// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Images.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

namespace resources {

namespace {

// ---------------------------------------------------------------------------
// Deterministic randomness

std::uint32_t hash3(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B9u ^ x * 0x85EBCA6Bu ^ y * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double hash01(int x, int y, std::uint32_t seed)
{
    return hash3(std::uint32_t(x), std::uint32_t(y), seed) / 4294967296.0;
}

int wrap(int v, int n) { return ((v % n) + n) % n; }

// ---------------------------------------------------------------------------
// Textures: periodic value noise plus fibres drawn with wrap-around, so the
// 100 × 100 tile repeats without a seam.

constexpr int kTexSize = 100;
constexpr int kTexLevels = 64;

// Value noise on a lattice of `cells` × `cells` that wraps around the tile.
double periodicNoise(double px, double py, int cells, std::uint32_t seed)
{
    const double x = px * cells / kTexSize;
    const double y = py * cells / kTexSize;
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    double fx = x - x0;
    double fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int ix, int iy) { return hash01(wrap(ix, cells), wrap(iy, cells), seed); };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

struct FibreStyle {
    int count;
    double minLength, maxLength;
    double width;
    int alpha;
};

// Short curved strokes; each is drawn nine times, shifted by the tile size, so
// strokes crossing an edge continue on the opposite side. Returns coverage 0..1.
std::vector<double> fibreLayer(const FibreStyle& style, std::uint32_t seed)
{
    QImage layer(kTexSize, kTexSize, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, style.alpha), style.width, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < style.count; ++i) {
        const double x = hash01(i, 1, seed) * kTexSize;
        const double y = hash01(i, 2, seed) * kTexSize;
        const double angle = hash01(i, 3, seed) * 2 * std::numbers::pi;
        const double len = style.minLength + hash01(i, 4, seed) * (style.maxLength - style.minLength);
        const double bend = (hash01(i, 5, seed) - 0.5) * len * 0.6;
        const QPointF dir(std::cos(angle), std::sin(angle));
        const QPointF normal(-dir.y(), dir.x());
        const QPointF a = QPointF(x, y) - dir * (len / 2);
        const QPointF b = QPointF(x, y) + dir * (len / 2);
        const QPointF c = QPointF(x, y) + normal * bend;
        QPainterPath path(a);
        path.quadTo(c, b);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                p.drawPath(path.translated(dx * kTexSize, dy * kTexSize));
    }
    p.end();
    std::vector<double> out(kTexSize * kTexSize);
    for (int y = 0; y < kTexSize; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < kTexSize; ++x)
            out[y * kTexSize + x] = qAlpha(line[x]) / 255.0;
    }
    return out;
}

struct TextureStyle {
    QColor dark, light; // the two ends of the colour ramp
    double base;        // mean position on the ramp
    double cloud;       // strength of the soft noise
    double grain;       // strength of the per-pixel grain
    double lightFibres, darkFibres;
    FibreStyle lightStyle, darkStyle;
    std::uint32_t seed;
};

QImage makeTexture(const TextureStyle& s)
{
    const std::vector<double> lightF = fibreLayer(s.lightStyle, s.seed + 11);
    const std::vector<double> darkF = fibreLayer(s.darkStyle, s.seed + 23);
    QRgb ramp[kTexLevels];
    for (int i = 0; i < kTexLevels; ++i) {
        const double t = double(i) / (kTexLevels - 1);
        ramp[i] = qRgb(int(std::lround(s.dark.red() + (s.light.red() - s.dark.red()) * t)),
                       int(std::lround(s.dark.green() + (s.light.green() - s.dark.green()) * t)),
                       int(std::lround(s.dark.blue() + (s.light.blue() - s.dark.blue()) * t)));
    }
    QImage img(kTexSize, kTexSize, QImage::Format_RGB32);
    for (int y = 0; y < kTexSize; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kTexSize; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const double cloud = 0.5 * periodicNoise(cx, cy, 4, s.seed + 1)
                               + 0.3 * periodicNoise(cx, cy, 10, s.seed + 2)
                               + 0.2 * periodicNoise(cx, cy, 25, s.seed + 3) - 0.5;
            const double grain = hash01(x, y, s.seed + 4) - 0.5;
            const int k = y * kTexSize + x;
            const double t = std::clamp(s.base + s.cloud * cloud + s.grain * grain
                                            + s.lightFibres * lightF[k] - s.darkFibres * darkF[k],
                                        0.0, 1.0);
            line[x] = ramp[int(std::lround(t * (kTexLevels - 1)))];
        }
    }
    return img;
}

QImage windowTexture()
{
    return makeTexture({QColor(0xD8, 0xC6, 0xA2), QColor(0xFF, 0xFC, 0xF4), 0.62, 0.30, 0.10, 0.30,
                        0.22, {90, 4, 12, 0.8, 150}, {40, 3, 9, 0.7, 110}, 130});
}

QImage buttonTexture()
{
    return makeTexture({QColor(0x38, 0x08, 0x0A), QColor(0xA0, 0x34, 0x2C), 0.42, 0.35, 0.12, 0.30,
                        0.25, {70, 4, 14, 0.8, 140}, {60, 3, 10, 0.8, 130}, 131});
}

// ---------------------------------------------------------------------------
// A small palette for glyphs and sheets (16 colours at most per image).

enum Pal {
    Black, White, Face, FaceShade, Outline, Ink, Grey, LightGrey,
    Red, Pink, Blue, LightBlue, Green, Yellow, Orange, Purple,
};

constexpr QRgb kPalette[16] = {
    0xFF000000, 0xFFFFFFFF, 0xFFFFF4DA, 0xFFF2D9A2, 0xFF5A3A22, 0xFF2A2A48, 0xFF8E8E9C, 0xFFD4D4DE,
    0xFFE0474C, 0xFFF7A3B7, 0xFF3C7DD9, 0xFFA9D5F7, 0xFF45A85A, 0xFFFFD23F, 0xFFF29136, 0xFF8E6CC9,
};

QColor pal(Pal c) { return QColor::fromRgb(kPalette[c]); }

// Draws small pixel art: the drawing runs without antialiasing at four times the
// size, and each pixel takes the colour most of its 16 samples have (ties go to a
// colour other than the background), so shapes come out smooth yet keep to the
// colours they were drawn with.
constexpr int kSuper = 4;

QImage pixelArt(int w, int h, QRgb background, const std::function<void(QPainter&)>& draw)
{
    QImage big(w * kSuper, h * kSuper, QImage::Format_RGB32);
    big.fill(background);
    {
        QPainter p(&big);
        p.scale(kSuper, kSuper);
        draw(p);
    }
    QImage out(w, h, QImage::Format_RGB32);
    QRgb samples[kSuper * kSuper];
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int n = 0;
            for (int sy = 0; sy < kSuper; ++sy) {
                const QRgb* line = reinterpret_cast<const QRgb*>(big.constScanLine(y * kSuper + sy));
                for (int sx = 0; sx < kSuper; ++sx)
                    samples[n++] = line[x * kSuper + sx];
            }
            QRgb best = background;
            int bestCount = 0;
            for (int i = 0; i < n; ++i) {
                const int count = int(std::count(samples, samples + n, samples[i]));
                if (count > bestCount || (count == bestCount && best == background)) {
                    best = samples[i];
                    bestCount = count;
                }
            }
            out.setPixel(x, y, best | 0xFF000000);
        }
    }
    return out;
}

QImage blackWhite(int w, int h, const std::function<bool(int, int)>& black)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = black(x, y) ? 0xFF000000 : 0xFFFFFFFF;
    }
    return img;
}

// ---------------------------------------------------------------------------
// Tool glyphs: a rounded button face shared by all ten glyphs (mask 141), with
// each tool's picture drawn inside it. The tool buttons are 39 × 44 pixels with
// the dialog font and draw the glyph from their left edge, so the face spans
// columns 1..37 and rows 2..37. The pictures are drawn around x = 16.5 and moved
// to the face's centre.

constexpr double kFaceLeft = 1, kFaceTop = 2, kFaceRight = 38, kFaceBottom = 38, kFaceRadius = 6;
constexpr double kArtShift = (kFaceLeft + kFaceRight) / 2 - 16.5;

bool inFace(int x, int y)
{
    const double px = x + 0.5, py = y + 0.5;
    if (px < kFaceLeft || px > kFaceRight || py < kFaceTop || py > kFaceBottom)
        return false;
    const double cx = std::clamp(px, kFaceLeft + kFaceRadius, kFaceRight - kFaceRadius);
    const double cy = std::clamp(py, kFaceTop + kFaceRadius, kFaceBottom - kFaceRadius);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= kFaceRadius * kFaceRadius;
}

bool onFaceEdge(int x, int y)
{
    return inFace(x, y) && (!inFace(x - 1, y) || !inFace(x + 1, y) || !inFace(x, y - 1) || !inFace(x, y + 1));
}

QPen pen(Pal c, double w) { return QPen(pal(c), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void drawText(QPainter& p)
{
    // A bold letter A with a pink underline.
    p.setPen(pen(Ink, 3.6));
    p.drawPolyline(QPolygonF{QPointF(9, 28), QPointF(16.5, 9), QPointF(24, 28)});
    p.drawLine(QPointF(12, 22), QPointF(21, 22));
    p.setPen(pen(Pink, 2.6));
    p.drawLine(QPointF(8, 33), QPointF(25, 33));
}

void drawLineGlyph(QPainter& p)
{
    p.setPen(pen(Blue, 3.2));
    p.drawLine(QPointF(9, 30), QPointF(24, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(pal(Ink));
    p.drawEllipse(QPointF(9, 30), 2.8, 2.8);
    p.drawEllipse(QPointF(24, 11), 2.8, 2.8);
}

void drawRectGlyph(QPainter& p)
{
    p.setPen(pen(Ink, 1.6));
    p.setBrush(pal(Orange));
    p.drawRect(QRectF(8.5, 12.5, 16, 15));
}

void drawPictureGlyph(QPainter& p)
{
    const QRectF frame(6.5, 10.5, 20, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(LightBlue));
    p.drawRect(frame);
    p.setBrush(pal(Yellow));
    p.drawEllipse(QPointF(21.5, 15.5), 2.8, 2.8);
    QPainterPath hills(QPointF(6.5, 28.5));
    hills.lineTo(6.5, 24);
    hills.quadTo(11, 17, 15, 23);
    hills.quadTo(19, 19, 26.5, 24);
    hills.lineTo(26.5, 28.5);
    hills.closeSubpath();
    p.setBrush(pal(Green));
    p.drawPath(hills);
    p.setPen(pen(Ink, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
}

void drawDeleteGlyph(QPainter& p)
{
    // A little bin.
    p.setPen(pen(Ink, 1.5));
    p.setBrush(pal(LightGrey));
    QPolygonF body{QPointF(10, 15), QPointF(23, 15), QPointF(21.5, 32), QPointF(11.5, 32)};
    p.drawPolygon(body);
    p.setPen(pen(Grey, 1.4));
    for (double x : {13.8, 16.5, 19.2})
        p.drawLine(QPointF(x, 18), QPointF(x, 29));
    p.setPen(pen(Ink, 1.5));
    p.setBrush(pal(Red));
    p.drawRoundedRect(QRectF(8, 11, 17, 3.5), 1.2, 1.2);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(14, 8.5, 5, 2.5));
}

void drawSendBackGlyph(QPainter& p)
{
    // The pink square slips behind the blue one.
    p.setPen(pen(Ink, 1.5));
    p.setBrush(pal(Pink));
    p.drawRect(QRectF(13.5, 16.5, 13, 13));
    p.setBrush(pal(LightBlue));
    p.drawRect(QRectF(6.5, 9.5, 13, 13));
    p.setPen(pen(Red, 2));
    p.drawLine(QPointF(11, 27), QPointF(11, 34));
    p.drawPolyline(QPolygonF{QPointF(8, 31), QPointF(11, 34), QPointF(14, 31)});
}

void drawDuplicateGlyph(QPainter& p)
{
    p.setPen(pen(Ink, 1.5));
    p.setBrush(pal(LightBlue));
    p.drawRoundedRect(QRectF(11.5, 8.5, 15, 11), 1.5, 1.5);
    p.setBrush(pal(White));
    p.drawRoundedRect(QRectF(6.5, 15.5, 15, 11), 1.5, 1.5);
    p.setPen(pen(Red, 1.4));
    p.drawLine(QPointF(9, 19.5), QPointF(16, 19.5));
    p.setPen(pen(Grey, 1.2));
    p.drawLine(QPointF(9, 22.5), QPointF(14, 22.5));
    p.setPen(pen(Green, 2.6));
    p.drawLine(QPointF(22, 27), QPointF(22, 35));
    p.drawLine(QPointF(18, 31), QPointF(26, 31));
}

void drawMagnifier(QPainter& p, bool plus)
{
    const QPointF c(14.5, 17.5);
    p.setPen(pen(Orange, 4.2));
    p.drawLine(QPointF(20.5, 23.5), QPointF(26, 30));
    p.setPen(pen(Ink, 2.2));
    p.setBrush(pal(LightBlue));
    p.drawEllipse(c, 7.5, 7.5);
    p.setPen(pen(Ink, 2.2));
    p.drawLine(c - QPointF(3.5, 0), c + QPointF(3.5, 0));
    if (plus)
        p.drawLine(c - QPointF(0, 3.5), c + QPointF(0, 3.5));
}

void drawHelpGlyph(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal(Purple));
    p.drawEllipse(QPointF(16.5, 20), 11, 11);
    QPainterPath q(QPointF(12.5, 16.5));
    q.cubicTo(12.5, 11.5, 20.5, 11.5, 20.5, 16.5);
    q.cubicTo(20.5, 19.5, 16.5, 19.5, 16.5, 23);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(White, 2.8));
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(White));
    p.drawEllipse(QPointF(16.5, 27), 1.8, 1.8);
}

struct GlyphArt {
    int id;
    void (*draw)(QPainter&);
};

const GlyphArt kGlyphs[] = {
    {img::GlyphText, drawText},
    {img::GlyphLine, drawLineGlyph},
    {img::GlyphRect, drawRectGlyph},
    {img::GlyphPicture, drawPictureGlyph},
    {img::GlyphDelete, drawDeleteGlyph},
    {img::GlyphSendBack, drawSendBackGlyph},
    {img::GlyphDuplicate, drawDuplicateGlyph},
    {img::GlyphZoomIn, [](QPainter& p) { drawMagnifier(p, true); }},
    {img::GlyphZoomOut, [](QPainter& p) { drawMagnifier(p, false); }},
    {img::GlyphHelp, drawHelpGlyph},
};

QImage toolGlyph(const GlyphArt& art)
{
    const int n = img::GlyphSize;
    QImage out = pixelArt(n, n, kPalette[Face], [&](QPainter& p) {
        p.translate(kArtShift, 0);
        art.draw(p);
    });
    // The face: a shaded lower band and a dark outline; nothing outside it.
    for (int y = 0; y < n; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < n; ++x) {
            if (!inFace(x, y))
                line[x] = kPalette[Black];
            else if (onFaceEdge(x, y))
                line[x] = kPalette[Outline];
            else if (y >= 33 && line[x] == kPalette[Face])
                line[x] = kPalette[FaceShade];
        }
    }
    return out;
}

QImage toolMask()
{
    return blackWhite(img::GlyphSize, img::GlyphSize, [](int x, int y) { return inFace(x, y); });
}

QImage greyPattern()
{
    // Rows alternate: all clear, then 01010101 (bits from the left).
    return blackWhite(8, 8, [](int x, int y) { return y % 2 == 0 || x % 2 == 0; });
}

// ---------------------------------------------------------------------------
// Check and radio sheets. The caption starts half a frame to the right, so each
// indicator keeps to the left ten columns of its frame.

enum class Indicator { Check, Radio };

constexpr int kIndTop = 5, kIndSize = 10;

bool inIndicator(Indicator kind, int x, int y)
{
    if (x < 0 || x >= kIndSize || y < kIndTop || y >= kIndTop + kIndSize)
        return false;
    const double dx = x + 0.5 - kIndSize / 2.0, dy = y + 0.5 - kIndTop - kIndSize / 2.0;
    if (kind == Indicator::Radio)
        return dx * dx + dy * dy <= 25.0;
    const bool corner = (x == 0 || x == kIndSize - 1) && (y == kIndTop || y == kIndTop + kIndSize - 1);
    return !corner;
}

// The tick of a pressed check box, in the box's 8 × 8 interior.
constexpr const char* kTick[8] = {
    "......##",
    ".....###",
    "#...###.",
    "##.###..",
    "#####...",
    ".###....",
    "..#.....",
    "........",
};

bool inMark(Indicator kind, int x, int y)
{
    if (kind == Indicator::Radio) {
        const double dx = x + 0.5 - kIndSize / 2.0, dy = y + 0.5 - kIndTop - kIndSize / 2.0;
        return dx * dx + dy * dy <= 4.0;
    }
    const int tx = x - 1, ty = y - kIndTop - 1;
    return tx >= 0 && tx < 8 && ty >= 0 && ty < 8 && kTick[ty][tx] == '#';
}

QImage indicatorSheet(Indicator kind)
{
    const int f = img::SheetFrameSize;
    QImage out(f * img::SheetFrames, f * 2, QImage::Format_RGB32);
    for (int frame = 0; frame < img::SheetFrames; ++frame) {
        const bool pressed = frame % 2 == 1;
        const bool enabled = frame < 2;
        for (int y = 0; y < f; ++y) {
            for (int x = 0; x < f; ++x) {
                const bool opaque = inIndicator(kind, x, y);
                const bool edge = opaque
                    && (!inIndicator(kind, x - 1, y) || !inIndicator(kind, x + 1, y)
                        || !inIndicator(kind, x, y - 1) || !inIndicator(kind, x, y + 1));
                Pal c = Black;
                if (edge)
                    c = enabled ? Ink : Grey;
                else if (opaque && pressed && inMark(kind, x, y))
                    c = enabled ? Red : Grey;
                else if (opaque)
                    c = enabled ? White : LightGrey;
                out.setPixel(frame * f + x, y, kPalette[c]);
                out.setPixel(frame * f + x, f + y, opaque ? 0xFF000000 : 0xFFFFFFFF);
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Icons

// A business card: white, with a red band on the left and a few text lines.
QImage cardIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const int shadow = std::max(1, size / 16);
    const int w = size - shadow;
    const int h = int(std::lround(w * 55.0 / 91.0));
    const int top = (size - h - shadow) / 2;
    p.fillRect(QRect(shadow, top + shadow, w, h), QColor(60, 40, 30, 110));
    p.fillRect(QRect(0, top, w, h), QColor(0x80, 0x6A, 0x58));
    p.fillRect(QRect(1, top + 1, w - 2, h - 2), Qt::white);
    const int band = std::max(2, int(std::lround(w * 0.17)));
    p.fillRect(QRect(1, top + 1, band, h - 2), kPalette[Red]);
    if (size >= 32)
        p.fillRect(QRect(1 + band, top + 1, size / 32, h - 2), kPalette[Yellow]);
    const int textLeft = 1 + band + std::max(2, int(std::lround(w * 0.1)));
    const int textWidth = w - std::max(2, int(std::lround(w * 0.1))) - textLeft;
    const int thin = std::max(1, size / 24);
    struct Row { double y, length; int thickness; QRgb colour; };
    const bool tiny = size < 24;
    const std::vector<Row> rows = tiny
        ? std::vector<Row>{{0.30, 1.0, 1, kPalette[Ink]}, {0.60, 0.7, 1, kPalette[Grey]}}
        : std::vector<Row>{{0.22, 1.0, 2 * thin, kPalette[Ink]}, {0.45, 0.8, thin, kPalette[Blue]},
                           {0.62, 0.6, thin, kPalette[Grey]}, {0.76, 0.7, thin, kPalette[Grey]}};
    for (const Row& r : rows)
        p.fillRect(QRect(textLeft, top + int(std::lround(h * r.y)),
                         int(std::lround(textWidth * r.length)), r.thickness), r.colour);
    return img;
}

// A little printer with a freshly printed card coming out.
QImage printerIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const QPen outline(pal(Ink), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Paper waiting at the back.
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 2.5, 13, 10));
    p.setPen(QPen(pal(Grey), 1));
    p.drawLine(QPointF(12, 6), QPointF(20, 6));
    p.drawLine(QPointF(12, 8.5), QPointF(18, 8.5));
    // Body.
    p.setPen(outline);
    p.setBrush(pal(LightBlue));
    p.drawRoundedRect(QRectF(2.5, 11.5, 27, 12), 3, 3);
    p.setBrush(pal(Blue));
    p.drawRect(QRectF(6.5, 19.5, 19, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(pal(Green));
    p.drawEllipse(QPointF(25.5, 15.5), 1.4, 1.4);
    // The card coming out, with its red band.
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 20.5, 15, 9.5));
    p.setPen(Qt::NoPen);
    p.setBrush(pal(Red));
    p.drawRect(QRectF(9.1, 21.1, 3, 8.3));
    p.setPen(QPen(pal(Ink), 1));
    p.drawLine(QPointF(14, 24), QPointF(21.5, 24));
    p.setPen(QPen(pal(Grey), 1));
    p.drawLine(QPointF(14, 27), QPointF(19.5, 27));
    return img;
}

// ---------------------------------------------------------------------------

QImage build(int id)
{
    switch (id) {
    case img::WindowTexture: return windowTexture();
    case img::ButtonTexture: return buttonTexture();
    case img::CheckSheet: return indicatorSheet(Indicator::Check);
    case img::RadioSheet: return indicatorSheet(Indicator::Radio);
    case img::ToolMask: return toolMask();
    case img::GreyPattern: return greyPattern();
    default: break;
    }
    for (const GlyphArt& art : kGlyphs)
        if (art.id == id)
            return toolGlyph(art);
    return {};
}

} // namespace

QImage bitmap(int id)
{
    static QMutex mutex;
    static QHash<int, QImage> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(id);
    if (it != cache.constEnd())
        return *it;
    QImage image = build(id);
    if (!image.isNull())
        cache.insert(id, image);
    return image;
}

QPixmap iconPixmap(int id, int size)
{
    if (size < 8)
        return {};
    if (id == img::AppIcon)
        return QPixmap::fromImage(cardIcon(size));
    if (id == img::AboutIcon)
        return QPixmap::fromImage(printerIcon(size));
    return {};
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(cardIcon(size)));
    return icon;
}

} // namespace resources
