// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ImageArt.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace resources::art {

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

} // namespace resources::art
