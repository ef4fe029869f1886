// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ImageArt.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace resources::art {

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

} // namespace

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

} // namespace resources::art
