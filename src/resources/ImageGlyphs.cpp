// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ImageArt.h"
#include "resources/Images.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace resources::art {

namespace {

// ---------------------------------------------------------------------------
// Tool glyphs: a rounded button face shared by all the glyphs (mask 141), with
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

void drawQrGlyph(QPainter& p)
{
    // Three finder squares and a scatter of modules on a white card.
    p.setPen(pen(Ink, 1.4));
    p.setBrush(pal(White));
    p.drawRect(QRectF(5.5, 8.5, 22, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(pal(Ink));
    const auto finder = [&](double x, double y) {
        p.setBrush(pal(Ink));
        p.drawRect(QRectF(x, y, 7, 7));
        p.setBrush(pal(White));
        p.drawRect(QRectF(x + 1.5, y + 1.5, 4, 4));
        p.setBrush(pal(Ink));
        p.drawRect(QRectF(x + 2.5, y + 2.5, 2, 2));
    };
    finder(8, 11);
    finder(18, 11);
    finder(8, 21);
    p.setBrush(pal(Blue));
    for (const QPointF& at : {QPointF(18, 21), QPointF(21, 21), QPointF(19.5, 24), QPointF(23, 24), QPointF(18, 27),
                              QPointF(21.5, 27), QPointF(16, 16)})
        p.drawRect(QRectF(at, QSizeF(2, 2)));
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
    {img::GlyphQr, drawQrGlyph},
};

QImage drawGlyph(const GlyphArt& art)
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

} // namespace

QImage toolGlyph(int id)
{
    for (const GlyphArt& art : kGlyphs)
        if (art.id == id)
            return drawGlyph(art);
    return {};
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

} // namespace resources::art
