// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pixel probes shared by the tests that look at pictures.

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <type_traits>

namespace pixels {

inline bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
inline bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }
inline bool isWhite(QRgb c) { return qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235; }
inline bool isDark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

// How many pixels of area match: match(colour), or match(x, y, colour) with x and
// y counted from area's corner.
template <class Match>
int count(const QImage& image, const QRect& area, Match match)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            if constexpr (std::is_invocable_v<Match, QRgb>)
                n += match(image.pixel(x, y)) ? 1 : 0;
            else
                n += match(x - area.x(), y - area.y(), image.pixel(x, y)) ? 1 : 0;
        }
    return n;
}

// The box of every pixel from row `top` down that is ink: not pure white, or
// what isInk takes.
template <class Ink>
QRect inkBox(const QImage& image, Ink isInk, int top = 0)
{
    QRect box;
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}
inline QRect inkBox(const QImage& image, int top = 0)
{
    return inkBox(image, [](QRgb c) { return c != 0xFFFFFFFF; }, top);
}

// The largest difference of any colour channel between a's pixels and the middles
// of b's `scale` × `scale` squares; 999 when the sizes do not match so.
inline int maxDifference(const QImage& a, const QImage& b, int scale = 1)
{
    if (b.size() != a.size() * scale)
        return 999;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x * scale + scale / 2, y * scale + scale / 2);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

} // namespace pixels
