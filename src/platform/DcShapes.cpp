// SPDX-License-Identifier: GPL-3.0-or-later
// Dc: shapes, lines, curves and paths.
#include "platform/Dc.h"

#include "platform/DcInternal.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

using dcdetail::i64;

namespace {

QBrush qtBrush(const Brush& brush)
{
    return brush.isNull() ? QBrush(Qt::NoBrush) : QBrush(brush.color);
}

} // namespace

// ---------------------------------------------------------------- fill helpers

void Dc::setRopMode()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (st_.rop2) {
    case Rop2::CopyPen: mode = QPainter::CompositionMode_Source; break;
    case Rop2::XorPen: mode = QPainter::RasterOp_SourceXorDestination; break;
    }
    painter_->setCompositionMode(mode);
}

void Dc::fillDeviceRect(i64 l, i64 t, i64 r, i64 b, const QBrush& brush)
{
    const QRect area = drawableRect();
    l = std::max<i64>(l, area.left());
    t = std::max<i64>(t, area.top());
    r = std::min<i64>(r, i64(area.right()) + 1);
    b = std::min<i64>(b, i64(area.bottom()) + 1);
    if (r <= l || b <= t)
        return;
    painter_->fillRect(QRect(int(l), int(t), int(r - l), int(b - t)), brush);
}

void Dc::fillDevicePath(const QPainterPath& path, const QBrush& brush)
{
    const QRectF bounds = path.boundingRect();
    const QRect area = drawableRect();
    if (area.isEmpty() || !bounds.intersects(QRectF(area).adjusted(-1, -1, 1, 1)))
        return;
    if (dcdetail::withinSafeRange(bounds)) {
        painter_->fillPath(path, brush);
        return;
    }
    // Far-away coordinates overflow the rasterizer: keep only what meets the surface.
    QPainterPath box;
    box.addRect(QRectF(area).adjusted(-4, -4, 4, 4));
    painter_->fillPath(path.intersected(box), brush);
}

void Dc::strokeDevicePath(const QPainterPath& path, const Pen& pen)
{
    if (pen.isNull())
        return;
    const QBrush brush(pen.color);
    if (pen.width <= 1 && dcdetail::withinSafeRange(path.boundingRect())) {
        QPen cosmetic(pen.color, 0);
        cosmetic.setCosmetic(true);
        painter_->setPen(cosmetic);
        painter_->setBrush(Qt::NoBrush);
        painter_->drawPath(path);
        painter_->setPen(Qt::NoPen);
        return;
    }
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1, pen.width));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);
    fillDevicePath(outline, brush);
}

// ---------------------------------------------------------------- shapes

void Dc::rectangle(int l, int t, int r, int b)
{
    const i64 ox = st_.origin.x();
    const i64 oy = st_.origin.y();
    const i64 L = std::min(l, r) + ox;
    const i64 R = std::max(l, r) + ox;
    const i64 T = std::min(t, b) + oy;
    const i64 B = std::max(t, b) + oy;
    if (inPath_) {
        path_.addRect(QRectF(double(L), double(T), double(R - L), double(B - T)));
        return;
    }
    if (!isValid() || R == L || B == T)
        return;
    setRopMode();
    const Pen& pen = st_.pen;
    const bool thin = !pen.isNull() && pen.width <= 1;
    if (!st_.brush.isNull()) {
        const QBrush fill = qtBrush(st_.brush);
        if (thin)
            fillDeviceRect(L + 1, T + 1, R - 1, B - 1, fill);
        else
            fillDeviceRect(L, T, R - 1, B - 1, fill);
    }
    if (thin) {
        // Four disjoint strips, so every pixel of the outline is touched once.
        const QBrush ink(pen.color);
        fillDeviceRect(L, T, R, T + 1, ink);
        if (B - 1 > T)
            fillDeviceRect(L, B - 1, R, B, ink);
        if (B - T > 2) {
            fillDeviceRect(L, T + 1, L + 1, B - 1, ink);
            if (R - 1 > L)
                fillDeviceRect(R - 1, T + 1, R, B - 1, ink);
        }
    } else if (!pen.isNull()) {
        QPainterPath outline;
        outline.addRect(QRectF(double(L) + 0.5, double(T) + 0.5, double(R - L - 1), double(B - T - 1)));
        strokeDevicePath(outline, pen);
    }
}

void Dc::fillRect(int l, int t, int r, int b, const Brush& brush)
{
    if (!isValid() || brush.isNull() || r <= l || b <= t)
        return;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    const i64 ox = st_.origin.x();
    const i64 oy = st_.origin.y();
    fillDeviceRect(l + ox, t + oy, r + ox, b + oy, qtBrush(brush));
}

void Dc::fillRect(int l, int t, int r, int b, const QColor& color)
{
    fillRect(l, t, r, b, Brush::solid(color));
}

void Dc::fillRect(const QRect& rect, const QColor& color)
{
    fillRect(rect.left(), rect.top(), saturate(i64(rect.left()) + rect.width()),
             saturate(i64(rect.top()) + rect.height()), Brush::solid(color));
}

// ---------------------------------------------------------------- lines and curves

QPoint Dc::moveTo(int x, int y)
{
    const QPoint old = st_.position;
    st_.position = QPoint(x, y);
    if (inPath_) {
        path_.moveTo(double(i64(x) + st_.origin.x()), double(i64(y) + st_.origin.y()));
        figureOpen_ = true;
    }
    return old;
}

void Dc::lineTo(int x, int y)
{
    const QPoint from = st_.position;
    st_.position = QPoint(x, y);
    const i64 x0 = i64(from.x()) + st_.origin.x();
    const i64 y0 = i64(from.y()) + st_.origin.y();
    const i64 x1 = i64(x) + st_.origin.x();
    const i64 y1 = i64(y) + st_.origin.y();
    if (inPath_) {
        if (!figureOpen_)
            path_.moveTo(double(x0), double(y0));
        path_.lineTo(double(x1), double(y1));
        figureOpen_ = true;
        return;
    }
    if (!isValid() || st_.pen.isNull())
        return;
    setRopMode();
    if (st_.pen.width <= 1) {
        drawThinLine(x0, y0, x1, y1, QBrush(st_.pen.color));
        return;
    }
    QPainterPath line;
    line.moveTo(double(x0) + 0.5, double(y0) + 0.5);
    line.lineTo(double(x1) + 0.5, double(y1) + 0.5);
    strokeDevicePath(line, st_.pen);
}

void Dc::drawThinLine(i64 x0, i64 y0, i64 x1, i64 y1, const QBrush& brush)
{
    const i64 dx = x1 - x0;
    const i64 dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const QRect area = drawableRect();
    if (area.isEmpty())
        return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    // Step along the major axis; pixel i (0 <= i < n) lies at major + i·s and at
    // the minor coordinate rounded from the exact line. The end pixel (i = n) is left.
    const i64 n = xMajor ? std::abs(dx) : std::abs(dy);
    const i64 s = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const i64 m0 = xMajor ? x0 : y0;
    const i64 minor0 = xMajor ? y0 : x0;
    const i64 dMinor = xMajor ? dy : dx;
    const i64 lo = xMajor ? area.left() : area.top();
    const i64 hi = xMajor ? i64(area.right()) + 1 : i64(area.bottom()) + 1; // exclusive
    const i64 minorLo = xMajor ? area.top() : area.left();
    const i64 minorHi = xMajor ? i64(area.bottom()) + 1 : i64(area.right()) + 1;
    // Visible i: lo <= m0 + i·s < hi.
    i64 iFirst = s > 0 ? lo - m0 : m0 - (hi - 1);
    i64 iLast = s > 0 ? hi - 1 - m0 : m0 - lo;
    iFirst = std::max<i64>(iFirst, 0);
    iLast = std::min<i64>(iLast, n - 1);
    // Runs of pixels on one minor coordinate become one strip.
    i64 runStart = 0;
    i64 runMinor = 0;
    bool inRun = false;
    auto flush = [&](i64 endMajorExclusive) {
        if (!inRun)
            return;
        const i64 a = std::min(runStart, endMajorExclusive - s);
        const i64 b = std::max(runStart, endMajorExclusive - s) + 1;
        if (xMajor)
            fillDeviceRect(a, runMinor, b, runMinor + 1, brush);
        else
            fillDeviceRect(runMinor, a, runMinor + 1, b, brush);
        inRun = false;
    };
    for (i64 i = iFirst; i <= iLast; ++i) {
        const i64 major = m0 + i * s;
        const i64 minor = minor0 + dcdetail::roundedRatio(i, dMinor, n);
        if (minor < minorLo || minor >= minorHi) {
            flush(major);
            continue;
        }
        if (inRun && minor != runMinor)
            flush(major);
        if (!inRun) {
            inRun = true;
            runStart = major;
            runMinor = minor;
        }
    }
    flush(m0 + (iLast + 1) * s);
}

void Dc::polyBezier(std::span<const QPoint> points)
{
    if (points.empty())
        return;
    const QPointF o(st_.origin);
    auto dev = [&](QPoint p) { return QPointF(p) + o; };
    QPainterPath curve;
    curve.moveTo(dev(points[0]));
    for (size_t i = 1; i + 2 < points.size(); i += 3)
        curve.cubicTo(dev(points[i]), dev(points[i + 1]), dev(points[i + 2]));
    if (inPath_) {
        path_.addPath(curve);
        figureOpen_ = true;
        return;
    }
    if (!isValid())
        return;
    setRopMode();
    curve.translate(0.5, 0.5); // the pen is centred on pixel centres
    strokeDevicePath(curve, st_.pen);
}

// ---------------------------------------------------------------- paths

void Dc::beginPath()
{
    path_ = QPainterPath();
    path_.setFillRule(Qt::OddEvenFill);
    inPath_ = true;
    pathDone_ = false;
    figureOpen_ = false;
}

void Dc::closeFigure()
{
    if (inPath_) {
        path_.closeSubpath();
        figureOpen_ = false;
    }
}

void Dc::endPath()
{
    if (inPath_) {
        inPath_ = false;
        pathDone_ = true;
    }
}

void Dc::abortPath()
{
    path_ = QPainterPath();
    inPath_ = false;
    pathDone_ = false;
    figureOpen_ = false;
}

bool Dc::fillPath()
{
    std::optional<QPainterPath> p = takePath();
    if (!p || !isValid())
        return false;
    if (!st_.brush.isNull()) {
        setRopMode();
        fillDevicePath(*p, qtBrush(st_.brush));
    }
    return true;
}

bool Dc::intersectClipPath()
{
    std::optional<QPainterPath> p = takePath();
    if (p)
        intersectClip(*p);
    return p.has_value();
}

std::optional<QPainterPath> Dc::takePath()
{
    if (!pathDone_)
        return std::nullopt;
    QPainterPath p = std::move(path_);
    abortPath();
    return p;
}

} // namespace platform
