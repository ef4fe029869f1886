// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Images.h"

#include "resources/ImageArt.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

#include <algorithm>

namespace resources {

namespace art {

namespace {

constexpr int kSuper = 4;

} // namespace

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

} // namespace art

namespace {

using namespace art;

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

QImage build(int id)
{
    switch (id) {
    case img::WindowTexture: return windowTexture();
    case img::ButtonTexture: return buttonTexture();
    case img::CheckSheet: return indicatorSheet(Indicator::Check);
    case img::RadioSheet: return indicatorSheet(Indicator::Radio);
    case img::ToolMask: return toolMask();
    case img::GreyPattern: return greyPattern();
    default: return toolGlyph(id);
    }
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
