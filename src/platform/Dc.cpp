// SPDX-License-Identifier: GPL-3.0-or-later
// Dc: construction, drawing state and clipping.
#include "platform/Dc.h"

#include "platform/DcInternal.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <utility>

namespace platform {

using dcdetail::i64;

QColor colorFromRef(std::uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

// ---------------------------------------------------------------- construction

Dc::Dc(QSize size)
{
    ownedImage_ = std::make_unique<QImage>(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if (!ownedImage_->isNull())
        ownedImage_->fill(Qt::white);
    image_ = ownedImage_.get();
    init(image_);
}

Dc::Dc(QImage* image)
{
    if (image && !image->isNull() && image->format() != QImage::Format_RGB32)
        *image = image->convertToFormat(QImage::Format_RGB32);
    image_ = image;
    init(image);
}

Dc::Dc(QPaintDevice* device)
{
    if (device && device->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(device);
    init(device);
}

Dc::Dc(QPainter* painter)
{
    if (!painter || !painter->isActive())
        return;
    painter_ = painter;
    painter_->save();
    if (painter_->hasClipping())
        baseClip_ = painter_->clipPath();
    QPaintDevice* device = painter_->device();
    if (device && device->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(device);
    init(device);
}

Dc::~Dc()
{
    if (painter_ && !ownedPainter_)
        painter_->restore();
    if (ownedPainter_ && ownedPainter_->isActive())
        ownedPainter_->end();
}

void Dc::init(QPaintDevice* device)
{
    if (!device)
        return;
    if (!painter_) {
        if (device->width() <= 0 || device->height() <= 0)
            return;
        ownedPainter_ = std::make_unique<QPainter>();
        if (!ownedPainter_->begin(device)) {
            ownedPainter_.reset();
            return;
        }
        painter_ = ownedPainter_.get();
    }
    deviceRect_ = QRect(0, 0, device->width(), device->height());
    bitsPerPixel_ = device->depth() > 0 ? device->depth() : 32;
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device)) {
        const int dpi = device->logicalDpiX() > 0 ? device->logicalDpiX() : 96;
        physicalOffset_ = paged->pageLayout().paintRectPixels(dpi).topLeft();
    }

    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setBrushOrigin(0, 0);
    selectFont(LogFont{});
    applyClip();
}

bool Dc::isValid() const
{
    return painter_ && painter_->isActive() && !deviceRect_.isEmpty();
}

qreal Dc::devicePixelRatio() const
{
    const QPaintDevice* device = painter_ ? painter_->device() : nullptr;
    return device ? device->devicePixelRatio() : 1.0;
}

// ---------------------------------------------------------------- state

QPoint Dc::setViewportOrigin(QPoint origin)
{
    const QPoint old = st_.origin;
    st_.origin = origin;
    return old;
}

QPoint Dc::offsetViewportOrigin(int dx, int dy)
{
    const QPoint old = st_.origin;
    st_.origin = QPoint(saturate(i64(old.x()) + dx), saturate(i64(old.y()) + dy));
    return old;
}

int Dc::save()
{
    saved_.push_back(st_);
    return int(saved_.size());
}

bool Dc::restore(int level)
{
    const i64 n = i64(saved_.size());
    const i64 target = level < 0 ? n + level : i64(level) - 1; // index of the state to take
    if (level == 0 || target < 0 || target >= n)
        return false;
    st_ = saved_[size_t(target)];
    saved_.resize(size_t(target));
    applyClip();
    return true;
}

Pen Dc::setPen(const Pen& pen)
{
    return std::exchange(st_.pen, pen);
}

Brush Dc::setBrush(const Brush& brush)
{
    return std::exchange(st_.brush, brush);
}

QColor Dc::setTextColor(const QColor& color)
{
    return std::exchange(st_.textColor, color);
}

QColor Dc::setBkColor(const QColor& color)
{
    return std::exchange(st_.bkColor, color);
}

BkMode Dc::setBkMode(BkMode mode)
{
    return std::exchange(st_.bkMode, mode);
}

Rop2 Dc::setRop2(Rop2 rop)
{
    return std::exchange(st_.rop2, rop);
}

// ---------------------------------------------------------------- clipping

namespace {

QPainterPath pathOf(const QRect& r)
{
    QPainterPath p;
    p.addRect(QRectF(r));
    return p;
}

} // namespace

void Dc::setClip(Clip clip)
{
    if (clip.kind == Clip::Path)
        clip.rect = clip.path.boundingRect().toAlignedRect();
    st_.clip = std::move(clip);
    applyClip();
}

void Dc::applyClip()
{
    if (!painter_)
        return;
    if (baseClip_)
        painter_->setClipPath(*baseClip_, Qt::ReplaceClip);
    else
        painter_->setClipping(false);
    const Qt::ClipOperation op = baseClip_ ? Qt::IntersectClip : Qt::ReplaceClip;
    if (st_.clip.kind == Clip::Rect)
        painter_->setClipRect(st_.clip.rect, op);
    else if (st_.clip.kind == Clip::Path)
        painter_->setClipPath(st_.clip.path, op);
}

void Dc::intersectWith(const Clip& other)
{
    Clip c;
    if (st_.clip.kind == Clip::None) {
        c = other;
    } else if (st_.clip.kind == Clip::Rect && other.kind == Clip::Rect) {
        c.kind = Clip::Rect;
        c.rect = st_.clip.rect & other.rect;
    } else {
        const QPainterPath a = st_.clip.kind == Clip::Rect ? pathOf(st_.clip.rect) : st_.clip.path;
        const QPainterPath b = other.kind == Clip::Rect ? pathOf(other.rect) : other.path;
        c.kind = Clip::Path;
        c.path = a.intersected(b);
    }
    setClip(std::move(c));
}

void Dc::selectClip(const QRect& deviceRect)
{
    Clip c;
    c.kind = Clip::Rect;
    c.rect = deviceRect.normalized();
    setClip(std::move(c));
}

void Dc::selectClip(const QPainterPath& devicePath)
{
    Clip c;
    c.kind = Clip::Path;
    c.path = devicePath;
    setClip(std::move(c));
}

void Dc::selectClipEllipse(const QRect& deviceRect)
{
    QPainterPath p;
    p.addEllipse(QRectF(deviceRect.normalized()));
    selectClip(p);
}

void Dc::intersectClip(const QRect& deviceRect)
{
    Clip c;
    c.kind = Clip::Rect;
    c.rect = deviceRect.normalized();
    intersectWith(c);
}

void Dc::intersectClip(const QPainterPath& devicePath)
{
    Clip c;
    c.kind = Clip::Path;
    c.path = devicePath;
    intersectWith(c);
}

QRect Dc::drawableRect() const
{
    QRect r = deviceRect_;
    if (st_.clip.kind != Clip::None)
        r &= st_.clip.rect;
    if (baseClip_)
        r &= baseClip_->boundingRect().toAlignedRect();
    return r;
}

QRect Dc::directRect() const
{
    if (!image_ || !isValid() || baseClip_ || st_.clip.kind == Clip::Path || !image_->isDetached())
        return QRect();
    return drawableRect();
}

QRect Dc::clipBox() const
{
    QRect r = drawableRect();
    if (painter_ && painter_->paintEngine()) {
        const QRegion system = painter_->paintEngine()->systemClip();
        if (!system.isEmpty())
            r &= system.boundingRect();
    }
    if (r.isEmpty())
        return QRect();
    const i64 ox = st_.origin.x();
    const i64 oy = st_.origin.y();
    const QRect logical = dcdetail::rectFromEdges(r.left() - ox, r.top() - oy, i64(r.right()) + 1 - ox,
                                                  i64(r.bottom()) + 1 - oy);
    return logical.isEmpty() ? QRect() : logical;
}

} // namespace platform
