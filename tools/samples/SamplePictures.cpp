// SPDX-License-Identifier: GPL-3.0-or-later
#include "SamplePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace samples {

namespace {

// A blank picture at one pixel per point (72 ppi), so the DIB's header does not
// depend on the screen.
QImage canvas(int w, int h, QColor fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(fill);
    return image;
}

// Fine grain of at most ±amount per channel, the same on every run.
void addGrain(QImage& image, int amount, std::uint32_t seed)
{
    std::uint32_t s = seed;
    const auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    };
    const auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(next() % std::uint32_t(2 * amount + 1)) - amount;
            const QRgb c = row[x];
            row[x] = qRgb(clamp(qRed(c) + n), clamp(qGreen(c) + n), clamp(qBlue(c) + n));
        }
    }
}

// A soft glow of colour c fading to nothing at radii rx, ry.
void glow(QPainter& p, QPointF at, double rx, double ry, QColor c)
{
    QRadialGradient g(QPointF(0, 0), 1.0);
    g.setColorAt(0, c);
    QColor edge = c;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.save();
    p.translate(at);
    p.scale(rx, ry);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), 1.0, 1.0);
    p.restore();
}

} // namespace

// A sunset over the sea with islands, in the proportions of the heart (94 × 90).
QImage sunset()
{
    const int w = 282;
    const int h = 270;
    const double horizon = h * 0.66;
    QImage image = canvas(w, h, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(44, 52, 118));
    sky.setColorAt(0.35, QColor(126, 78, 148));
    sky.setColorAt(0.68, QColor(236, 124, 104));
    sky.setColorAt(1.0, QColor(255, 204, 128));
    p.fillRect(QRectF(0, 0, w, horizon), sky);

    // Clouds lit from below.
    const struct {
        double x, y, rx, ry;
    } clouds[] = {{60, 62, 70, 12}, {210, 48, 80, 10}, {150, 92, 60, 8}, {36, 118, 50, 7}, {250, 110, 44, 7}};
    for (const auto& c : clouds)
        glow(p, QPointF(c.x, c.y), c.rx, c.ry, QColor(255, 168, 150, 150));

    const QPointF sun(w * 0.5, horizon - 14);
    glow(p, sun, 150, 110, QColor(255, 214, 140, 170));
    glow(p, sun, 46, 46, QColor(255, 236, 190, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 244, 214));
    p.drawEllipse(sun, 22, 22);

    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0.0, QColor(214, 118, 104));
    sea.setColorAt(0.45, QColor(120, 70, 112));
    sea.setColorAt(1.0, QColor(36, 38, 86));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);

    // The sun's path on the water: a soft column and thin ripples narrowing towards us.
    glow(p, QPointF(sun.x(), horizon + 26), 34, 40, QColor(255, 206, 150, 120));
    const double ripple[] = {0.9, 0.6, 1.0, 0.7, 0.85, 0.5, 0.75, 0.55, 0.65, 0.4, 0.5};
    for (int i = 0; i < 11; ++i) {
        const double y = horizon + 3 + i * (3.2 + i * 0.35);
        const double half = (34 - i * 2.2) * ripple[i];
        const double shift = (i % 3 - 1) * 3.0;
        p.setBrush(QColor(255, 226, 172, 190 - i * 14));
        p.drawRoundedRect(QRectF(sun.x() - half + shift, y, 2 * half, 1.4 + i * 0.08), 0.7, 0.7);
    }

    // Islands against the light.
    p.setBrush(QColor(72, 40, 78));
    QPainterPath left;
    left.moveTo(0, horizon + 2);
    left.lineTo(0, horizon - 46);
    left.cubicTo(22, horizon - 52, 44, horizon - 30, 70, horizon - 18);
    left.cubicTo(86, horizon - 10, 100, horizon - 4, 112, horizon + 2);
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(w, horizon + 2);
    right.lineTo(w, horizon - 30);
    right.cubicTo(250, horizon - 38, 226, horizon - 14, 196, horizon + 2);
    right.closeSubpath();
    p.drawPath(right);

    // Two birds.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 40, 80), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF b : {QPointF(178, 74), QPointF(196, 84)}) {
        QPainterPath bird;
        bird.moveTo(b + QPointF(-7, -2));
        bird.quadTo(b + QPointF(-3, -5), b);
        bird.quadTo(b + QPointF(3, -5), b + QPointF(7, -2));
        p.drawPath(bird);
    }
    p.end();
    addGrain(image, 5, 20240601u);
    return image;
}

// A wheat ear in a ring on pure white, in few flat colours: the white is left
// out when drawn, so what lies beneath shows through.
QImage wheatLogo()
{
    const int size = 360;
    const QPointF c(size / 2.0, size / 2.0);
    QImage image = canvas(size, size, Qt::white);
    QPainter p(&image);
    const QColor gold(222, 176, 86);
    const QColor cream(250, 236, 204);
    p.setPen(Qt::NoPen);

    QPainterPath ring;
    ring.addEllipse(c, 172, 172);
    ring.addEllipse(c, 158, 158);
    p.fillPath(ring, gold);
    QPainterPath thin;
    thin.addEllipse(c, 148, 148);
    thin.addEllipse(c, 144, 144);
    p.fillPath(thin, cream);

    // Stem and two leaves.
    p.setPen(QPen(gold, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(180, 300), QPointF(180, 96));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    QPainterPath leafL;
    leafL.moveTo(178, 292);
    leafL.cubicTo(140, 280, 104, 250, 92, 206);
    leafL.cubicTo(126, 226, 160, 252, 178, 276);
    p.drawPath(leafL);
    QPainterPath leafR;
    leafR.moveTo(182, 292);
    leafR.cubicTo(220, 280, 256, 250, 268, 206);
    leafR.cubicTo(234, 226, 200, 252, 182, 276);
    p.drawPath(leafR);

    // Grains, alternating colours down the ear.
    for (int i = 0; i < 5; ++i) {
        const double y = 112 + i * 30;
        for (int side : {-1, 1}) {
            p.save();
            p.translate(180 + side * 19, y);
            p.rotate(side * 32);
            p.setBrush(i % 2 ? cream : gold);
            p.drawEllipse(QPointF(0, 0), 13, 24);
            p.restore();
        }
    }
    p.setBrush(cream);
    p.drawEllipse(QPointF(180, 84), 12, 24);
    p.end();
    return image;
}

// Blue wave scales that repeat seamlessly: 2r × r pixels.
QImage waveTile()
{
    const int r = 32;
    const QColor ink(46, 82, 148);
    const QColor paper(220, 232, 246);
    QImage image = canvas(2 * r, r, paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Rows half a radius apart, every other row shifted by r; later rows overlap.
    for (int row = -4; row <= 4; ++row) {
        const double y = row * r / 2.0;
        for (int col = -2; col <= 2; ++col) {
            const double x = col * 2.0 * r + (row % 2 != 0 ? r : 0);
            for (int k = 0; k < 4; ++k) {
                const double radius = r - k * r / 4.0;
                p.setBrush(ink);
                p.drawEllipse(QPointF(x, y + r), radius, radius);
                p.setBrush(paper);
                p.drawEllipse(QPointF(x, y + r), radius - 2.4, radius - 2.4);
            }
        }
    }
    p.end();
    return image;
}

} // namespace samples
