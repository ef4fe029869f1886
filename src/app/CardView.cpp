// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardView.h"

#include "model/ObjItem.h"
#include "model/PmrData.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"
#include "resources/Images.h"

#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTransform>
#include <QWidget>

#include <algorithm>
#include <cmath>

using platform::Rect;

namespace {

constexpr std::uint32_t kLightGray = 0xC0C0C0;
constexpr std::uint32_t kDarkGray = 0x808080;
constexpr int kTextureBitmap = 130;
constexpr int kShadowOffset = 10;
constexpr int kScrollMargin = 20;
constexpr int kLineStep = 10;

} // namespace

CardView::CardView(QWidget* window, QWidget* canvasFrame, QScrollBar* hBar, QScrollBar* vBar, const PmrData& page)
    : window_(window), frame_(canvasFrame), hBar_(hBar), vBar_(vBar), page_(&page)
{
}

Rect CardView::cardUnits() const
{
    return {0, 0, scale_.toUnits(platform::saturate(card_.width())), scale_.toUnits(platform::saturate(card_.height()))};
}

QRect CardView::canvasFrameRect() const
{
    return QRect(frame_->mapTo(window_, QPoint(0, 0)), frame_->size());
}

QRect CardView::canvasRect() const
{
    return canvasFrameRect().adjusted(1, 1, -1, -1);
}

void CardView::layoutCard(bool fit)
{
    const QRect canvas = canvasRect();
    const int cw = canvas.width();
    const int ch = canvas.height();
    ViewScale& scale = scale_;
    if (fit) {
        const int sw = platform::mulDivRound(cw - 40, 254, std::int64_t(page_->cardWidth) * 10);
        const int sh = platform::mulDivRound(ch - 40, 254, std::int64_t(page_->cardHeight) * 10);
        // A card without size keeps the scale it has.
        int s = page_->cardWidth > 0 && page_->cardHeight > 0 ? std::min(sw, sh)
                : page_->cardWidth > 0                       ? sw
                : page_->cardHeight > 0                      ? sh
                                                            : scale.fit;
        s = std::max(s, 1);
        scale.current = s;
        scale.fit = s;
    }
    const int w = scale.mmToDevice(page_->cardWidth);
    const int h = scale.mmToDevice(page_->cardHeight);
    card_.left = platform::saturate(canvas.left() + (std::int64_t(cw) - w) / 2);
    card_.top = platform::saturate(canvas.top() + (std::int64_t(ch) - h) / 2);
    card_.right = platform::addSat(card_.left, w);
    card_.bottom = platform::addSat(card_.top, h);

    layoutBar(hBar_, canvas.left(), cw, w, card_.left, card_.right);
    layoutBar(vBar_, canvas.top(), ch, h, card_.top, card_.bottom);
    window_->update(canvas);
}

void CardView::layoutBar(QScrollBar* bar, int canvasStart, int canvasExtent, int cardExtent, int& cardStart, int& cardEnd)
{
    if (canvasExtent >= cardExtent) {
        bar->hide();
        return;
    }
    const bool wasVisible = !bar->isHidden();
    bar->show();
    const int minimum = platform::saturate(-std::int64_t(canvasStart) - kScrollMargin);
    const int maximum = platform::saturate(std::int64_t(cardExtent) - canvasExtent - canvasStart + kScrollMargin);
    if (wasVisible) {
        const double oldMin = bar->minimum(), oldMax = bar->maximum(), oldPos = bar->value();
        if (oldMax != oldMin) {
            const double pos = maximum - (oldMax - oldPos) * (double(maximum) - minimum) / (oldMax - oldMin);
            cardStart = platform::saturate(-static_cast<std::int64_t>(pos));
            cardEnd = platform::addSat(cardStart, cardExtent);
        }
    }
    const QSignalBlocker block(bar);
    bar->setRange(minimum, maximum);
    bar->setValue(-cardStart);
}

bool CardView::zoomStep(bool up)
{
    ViewScale& scale = scale_;
    if (scale.fit <= 0)
        return false;
    const int z = int((std::int64_t(scale.fit) / 2 + std::int64_t(scale.current) * 10) / scale.fit);
    int step = 0;
    if (up) {
        const auto it = std::find_if(ViewScale::kZoomSteps.begin(), ViewScale::kZoomSteps.end(),
                                     [z](int s) { return s > z; });
        if (it == ViewScale::kZoomSteps.end())
            return false;
        step = *it;
    } else {
        const auto it = std::find_if(ViewScale::kZoomSteps.rbegin(), ViewScale::kZoomSteps.rend(),
                                     [z](int s) { return s < z; });
        if (it == ViewScale::kZoomSteps.rend())
            return false;
        step = *it;
    }
    scale.current = platform::saturate(std::int64_t(scale.fit) * step / 10);
    return true;
}

int CardView::scroll(Qt::Orientation orientation, int code, int position)
{
    QScrollBar* bar = orientation == Qt::Horizontal ? hBar_ : vBar_;
    const int minimum = bar->minimum(), maximum = bar->maximum(), p = bar->value();
    int pos = p;
    switch (code) {
    case SbLineUp:
    case SbPageUp: pos = std::max(p - kLineStep, minimum); break;
    case SbLineDown:
    case SbPageDown: pos = std::min(p + kLineStep, maximum); break;
    case SbThumbPosition:
    case SbThumbTrack: pos = position; break;
    case SbTop: pos = std::max(p - 1, minimum); break;
    case SbBottom: pos = std::min(p + 1, maximum); break;
    case SbEndScroll: return 0;
    default: break;
    }
    int& start = orientation == Qt::Horizontal ? card_.left : card_.top;
    int& end = orientation == Qt::Horizontal ? card_.right : card_.bottom;
    const int d = platform::saturate(-(std::int64_t(start) + pos));
    start = platform::addSat(start, d);
    end = platform::addSat(end, d);
    {
        const QSignalBlocker block(bar);
        bar->setValue(-start);
    }
    if (d != 0) {
        const QRect canvas = canvasRect();
        const qreal r = window_->devicePixelRatio();
        // At a fractional ratio a moved pixel lands between device pixels:
        // compose again rather than shift what is on screen.
        if (r != std::floor(r))
            window_->update(canvas);
        else if (orientation == Qt::Horizontal)
            window_->scroll(d, 0, canvas);
        else
            window_->scroll(0, d, canvas);
    }
    return d;
}

void CardView::drawSelectionMarks(platform::Dc& dc, const ObjItem& item, qreal ratio)
{
    const ViewScale scale = ViewScale::of(dc);
    const platform::Pen pen = dc.setPen(platform::Pen::solid(Qt::white));
    const platform::Brush brush = dc.setBrush(platform::Brush::null());
    const platform::Rop2 rop = dc.setRop2(platform::Rop2::XorPen);
    // Outlines `ratio` pixels thick, as nested one-pixel frames that XOR each
    // pixel once.
    const int thickness = std::max(1, qRound(ratio));
    const auto frame = [&dc, thickness](int l, int t, int r, int b) {
        for (int i = 0; i < thickness && r - l > 2 * i && b - t > 2 * i; ++i)
            dc.rectangle(l + i, t + i, r - i, b - i);
    };
    if (item.isText()) {
        const Rect b = scale.toDevice(item.GetBounds());
        frame(b.left, b.top, b.right, b.bottom);
    } else {
        const int before = qRound(3 * ratio), after = qRound(4 * ratio);
        for (int i = 0; i < item.GetHandleCount(); ++i) {
            QPoint hp;
            if (!item.GetHandle(i, hp))
                continue;
            const QPoint d = scale.toDevice(hp);
            frame(d.x() - before, d.y() - before, d.x() + after, d.y() + after);
        }
    }
    dc.setRop2(rop);
    dc.setBrush(brush);
    dc.setPen(pen);
}

CardView::DeviceLayout CardView::deviceLayout(qreal ratio) const
{
    DeviceLayout d;
    d.ratio = ratio > 0 ? ratio : 1;
    const auto px = [r = d.ratio](std::int64_t v) { return platform::saturate(std::llround(double(v) * r)); };
    const auto toDevice = [&px](const QRect& q) {
        return Rect{px(q.left()), px(q.top()), px(std::int64_t(q.left()) + q.width()), px(std::int64_t(q.top()) + q.height())};
    };
    d.frame = toDevice(canvasFrameRect());
    d.canvas = toDevice(canvasRect());
    if (d.ratio == 1) {
        d.scale = scale_.current;
        d.card = card_;
        return d;
    }
    // The card drawn at its own scale from the device pixel its corner rounds to.
    d.scale = std::max(1, px(scale_.current));
    const ViewScale at = ViewScale::at(d.scale);
    d.card.left = px(card_.left);
    d.card.top = px(card_.top);
    d.card.right = platform::addSat(d.card.left, at.mmToDevice(page_->cardWidth));
    d.card.bottom = platform::addSat(d.card.top, at.mmToDevice(page_->cardHeight));
    return d;
}

QImage CardView::composeCard(const ObjItem* selected, QRect* visibleOut, qreal ratio) const
{
    const DeviceLayout d = deviceLayout(ratio);
    const QRect visible = d.card.intersected(d.frame).toQRect();
    if (visibleOut)
        *visibleOut = visible;
    if (visible.isEmpty())
        return {};
    platform::Dc dc(visible.size());
    if (!dc.isValid())
        return {};
    dc.setScale(d.scale);
    dc.setViewportOrigin(QPoint(d.card.left - visible.left(), d.card.top - visible.top()));
    page_->drawBackground(dc, Rect{0, 0, platform::saturate(d.card.width()), platform::saturate(d.card.height())});
    page_->forEachInDrawingOrder([&dc](const ObjItem& item) { item.Draw(dc); });
    if (selected)
        drawSelectionMarks(dc, *selected, d.ratio);
    return *dc.image();
}

void CardView::paintCard(platform::Dc& dc, const ObjItem* selected, bool withCanvas) const
{
    QPainter* painter = dc.painter();
    if (!dc.isValid() || !painter)
        return;
    const qreal r = dc.devicePixelRatio();
    const DeviceLayout d = deviceLayout(r);
    const QRect canvas = d.canvas.toQRect();
    if (canvas.isEmpty())
        return;
    QRect visible;
    const QImage image = composeCard(selected, &visible, r);
    painter->save();
    // Device pixels from here on: the card, its shadow and the canvas meet
    // where the card's own scale puts its edges, with no second scaling.
    painter->setWorldTransform(QTransform::fromScale(1 / r, 1 / r));
    painter->setClipRect(canvas, Qt::IntersectClip);
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    if (withCanvas) {
        painter->fillRect(canvas, platform::colorFromRef(kLightGray));
        // Filled as a borderless rectangle: its right and bottom edge pixel stay out.
        const int offset = qRound(kShadowOffset * r), edge = std::max(1, qRound(r));
        const Rect shadow = d.card.translated(offset, offset);
        const Rect fill{shadow.left, shadow.top, platform::addSat(shadow.right, -edge), platform::addSat(shadow.bottom, -edge)};
        painter->fillRect(fill.intersected(d.canvas).toQRect(), platform::colorFromRef(kDarkGray));
    }
    if (!image.isNull())
        painter->drawImage(visible.topLeft(), image);
    painter->restore();
}

void CardView::redrawCard(platform::Dc& dc, const ObjItem* selected) const
{
    paintCard(dc, selected, false);
}

void CardView::paint(platform::Dc& dc, const QRect& paintRect, const ObjItem* selected) const
{
    // Window background: the paper texture, or the plain face colour on displays
    // of 256 colours or fewer. The canvas covers its own part (short of its edge,
    // which may fall between device pixels).
    for (const QRect& part : QRegion(paintRect).subtracted(QRegion(canvasRect().adjusted(1, 1, -1, -1)))) {
        if (dc.bitsPerPixel() < 9) {
            dc.fillRect(part, window_->palette().color(QPalette::Button));
        } else {
            static const QPixmap tile = QPixmap::fromImage(resources::bitmap(kTextureBitmap));
            if (!tile.isNull() && dc.painter()) {
                const int tw = tile.width(), th = tile.height();
                // Tiles start at multiples of the tile size from the window's corner.
                dc.painter()->drawTiledPixmap(part, tile, QPoint(part.x() % tw, part.y() % th));
            }
        }
    }
    paintCard(dc, selected, true);
}
