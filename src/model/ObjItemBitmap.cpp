// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemBitmap.h"

#include "model/QrPicture.h"

#include "model/Archive.h"
#include "model/ClassRegistry.h"
#include "model/Geometry.h"
#include "model/ItemBody.h"
#include "model/ObjItemRect.h"
#include "model/PictureEffects.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

#include <QPainterPath>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using platform::addSat;
using platform::Rect;
using platform::saturate;

namespace {

// Item units per picture pixel: one pixel is one point.
constexpr int kUnitsPerPixel = std::max(1, ViewScale::kUnitsPerInch / 72);

// Device pixels by which the cache may differ from the picture's size.
constexpr int kCacheTolerance = 2;
constexpr int kBlurWidthMm = 3;
constexpr int kShadowOffsetMm = 3;
constexpr int kShadowSoftnessTenthMm = 25;

constexpr QRgb kWhite = 0xFFFFFFFFu;

// Top-down pictures report a negative height; their size is its magnitude,
// which saturates for the least int.
int heightOf(const platform::Dib& dib)
{
    return saturate(std::abs(std::int64_t(dib.height())));
}

// part of an RGB32 image without copying; part lies inside it.
QImage viewOf(const QImage& image, const QRect& part)
{
    return QImage(image.constScanLine(part.top()) + std::ptrdiff_t(part.left()) * 4, part.width(), part.height(),
                  image.bytesPerLine(), QImage::Format_RGB32);
}

// One Draw of a picture at its device rectangle r. Effects are computed only
// for the part that can show, with the pixels the whole computation would give.
class PictureDraw {
public:
    PictureDraw(platform::Dc& dc, const Rect& r, const QImage& source, const QImage* cache, int shape)
        : dc_(dc), r_(r), w_(r.width()), h_(r.height()), source_(source), cache_(cache), shape_(shape)
    {
    }

    void plain()
    {
        if (cacheFits() && dc_.bitBlt(r_.left, r_.top, cache_->width(), cache_->height(), *cache_, 0, 0))
            return;
        dc_.drawImage(r_.left, r_.top, saturate(w_), saturate(h_), source_, 0, 0, source_.width(),
                      source_.height());
    }

    void clipped()
    {
        if (shape_ == pictureeffects::ShapeRect) {
            plain();
            return;
        }
        if (shape_ != pictureeffects::ShapeEllipse && shape_ != pictureeffects::ShapeHeart)
            return;
        const platform::DcSave saved(dc_);
        if (shape_ == pictureeffects::ShapeEllipse) {
            const QPoint o = dc_.viewportOrigin();
            QPainterPath ellipse;
            ellipse.addEllipse(QRectF(QPointF(double(r_.left) + o.x(), double(r_.top) + o.y()),
                                      QPointF(double(r_.right) + o.x(), double(r_.bottom) + o.y()))
                                   .normalized());
            dc_.intersectClip(ellipse);
        } else {
            const std::array<QPoint, 13> heart = pictureeffects::heartOutline(r_);
            dc_.beginPath();
            dc_.polyBezier(heart);
            dc_.closeFigure();
            dc_.endPath();
            dc_.intersectClipPath();
        }
        plain();
    }

    void blurred(int rings)
    {
        const QRect window = visible(r_);
        if (window.isEmpty())
            return;
        const QImage picture = rendered(window);
        if (picture.isNull())
            return;
        const pictureeffects::GradientMask mask(w_, h_, rings, shape_);
        const QRect area = window.translated(-r_.left, -r_.top);
        blend(window, [&](QImage& target, QPoint at) {
            pictureeffects::blendBlurredEdge(target, at, picture, mask, area);
        });
    }

    void shadow(int offset, int rings)
    {
        const Rect s = r_.translated(offset, offset);
        const QRect window = visible(s);
        if (window.isEmpty())
            return;
        const pictureeffects::GradientMask mask(w_, h_, rings, shape_);
        const QRect area = window.translated(-s.left, -s.top);
        blend(window, [&](QImage& target, QPoint at) { pictureeffects::blendShadow(target, at, mask, area); });
    }

    // Pure white pixels of the DIB let what lies beneath show.
    void whiteOut()
    {
        const QRect window = visible(r_);
        if (window.isEmpty())
            return;
        const QImage fromDib = stretched(window);
        const QImage mask = platform::maskFromColor(fromDib, kWhite);
        const QImage picture = cacheFits() ? rendered(window) : fromDib;
        if (mask.isNull() || picture.isNull())
            return;
        platform::maskedBlit(dc_, window.left(), window.top(), window.width(), window.height(), picture, 0, 0,
                             mask, 0, 0);
    }

private:
    bool cacheFits() const
    {
        return cache_ && std::abs(cache_->width() - w_) <= kCacheTolerance
               && std::abs(cache_->height() - h_) <= kCacheTolerance;
    }

    // The part of place (logical) that can be drawn.
    QRect visible(const Rect& place) const { return place.toQRect() & dc_.clipBox(); }

    // window's pixels of the DIB stretched to r.
    QImage stretched(const QRect& window) const
    {
        const QRect inPicture = window.translated(-r_.left, -r_.top);
        if (w_ == source_.width() && h_ == source_.height())
            return viewOf(source_, inPicture);
        QImage out(window.size(), QImage::Format_RGB32);
        if (out.isNull())
            return out;
        out.fill(kWhite);
        platform::Dc dc(&out);
        dc.drawImage(saturate(std::int64_t(r_.left) - window.left()), saturate(std::int64_t(r_.top) - window.top()),
                     saturate(w_), saturate(h_), source_, 0, 0, source_.width(), source_.height());
        return out;
    }

    // window's pixels of the picture as the effects take it: the cache when it
    // fits, on white where it is smaller than r; otherwise the DIB stretched.
    QImage rendered(const QRect& window) const
    {
        if (!cacheFits())
            return stretched(window);
        const QRect inCache = window.translated(-r_.left, -r_.top);
        if (cache_->rect().contains(inCache))
            return viewOf(*cache_, inCache);
        QImage out(window.size(), QImage::Format_RGB32);
        if (out.isNull())
            return out;
        out.fill(kWhite);
        const QRect common = inCache & cache_->rect();
        for (int y = common.top(); y <= common.bottom(); ++y)
            std::memcpy(out.scanLine(y - inCache.top()) + std::ptrdiff_t(common.left() - inCache.left()) * 4,
                        cache_->constScanLine(y) + std::ptrdiff_t(common.left()) * 4,
                        size_t(common.width()) * 4);
        return out;
    }

    // Runs f on the target's pixels of window: in place on a memory surface,
    // else on a copy (white where the surface cannot be read) drawn back.
    template <typename F>
    void blend(const QRect& window, F f)
    {
        const QRect device = window.translated(dc_.viewportOrigin());
        if (dc_.directRect().contains(device)) {
            f(*dc_.image(), device.topLeft());
            return;
        }
        QImage block(window.size(), QImage::Format_RGB32);
        if (block.isNull())
            return;
        block.fill(kWhite);
        if (const QImage* surface = dc_.image()) {
            const QRect common = device & surface->rect();
            for (int y = common.top(); y <= common.bottom(); ++y)
                std::memcpy(block.scanLine(y - device.top()) + std::ptrdiff_t(common.left() - device.left()) * 4,
                            surface->constScanLine(y) + std::ptrdiff_t(common.left()) * 4,
                            size_t(common.width()) * 4);
        }
        f(block, QPoint(0, 0));
        dc_.bitBlt(window.left(), window.top(), window.width(), window.height(), block, 0, 0);
    }

    platform::Dc& dc_;
    Rect r_;
    std::int64_t w_;
    std::int64_t h_;
    const QImage& source_;
    const QImage* cache_;
    int shape_;
};

} // namespace

ObjItemBitmap::ObjItemBitmap()
{
    kind = KindPicture;
}

ObjItemBitmap::ObjItemBitmap(const ObjItemBitmap& other)
    : ObjItem(other), dib(other.dib), dibWidth(other.dibWidth), dibHeight(other.dibHeight),
      whiteOut(other.whiteOut), edgeMode(other.edgeMode), shape(other.shape), qr(other.qr)
{
}

ObjItemBitmap::ObjItemBitmap(const Rect& card, platform::Dib picture) : ObjItemBitmap()
{
    takePicture(std::move(picture));
    QSize size(saturate(std::int64_t(dibWidth) * kUnitsPerPixel), saturate(std::int64_t(dibHeight) * kUnitsPerPixel));
    const QSize cardSize(saturate(card.width()), saturate(card.height()));
    if (size.width() > cardSize.width() || size.height() > cardSize.height())
        size = fitInBox(size, cardSize);
    cx = size.width();
    cy = size.height();
    centreOnCard(card);
}

void ObjItemBitmap::takePicture(platform::Dib picture)
{
    dib = std::move(picture);
    cache_ = QImage();
    dibWidth = dib.width();
    dibHeight = heightOf(dib);
}

const ClassInfo& ObjItemBitmap::runtimeClass() const
{
    return kObjItemBitmapClass;
}

void ObjItemBitmap::Serialize(Archive& ar)
{
    ObjItem::Serialize(ar);
    itembody::serializePicture(ar, dib, dibWidth, dibHeight, whiteOut, edgeMode, shape);
    if (ar.isLoading())
        cache_ = QImage();
}

std::unique_ptr<ObjItem> ObjItemBitmap::Clone() const
{
    return std::unique_ptr<ObjItem>(new ObjItemBitmap(*this));
}

bool ObjItemBitmap::GetHandle(int index, QPoint& out) const
{
    return ObjItemRect::cornerHandle(plainBounds(), index, out);
}

void ObjItemBitmap::MoveHandle(int index, int dx, int dy)
{
    if (index < 0 || index > 3)
        return;
    const std::int64_t w = dibWidth, h = dibHeight;
    const std::int64_t s = std::min(w, h);
    // A picture without a usable size resizes like one of 1 × 1.
    const std::int64_t mw = s > 0 ? w / s : 1;
    const std::int64_t mh = s > 0 ? h / s : 1;
    const std::int64_t left = x, top = y;
    const std::int64_t right = std::int64_t(x) + cx, bottom = std::int64_t(y) + cy;

    const bool movesRight = index == 0 || index == 3;
    const bool movesBottom = index == 0 || index == 2;
    const std::int64_t boxW = movesRight ? std::max(right + dx, left + mw) - left
                                         : right - std::min(left + dx, right - mw);
    const std::int64_t boxH = movesBottom ? std::max(bottom + dy, top + mh) - top
                                          : bottom - std::min(top + dy, bottom - mh);
    const QSize size = fitInBox(QSize(dibWidth, dibHeight), QSize(saturate(boxW), saturate(boxH)));
    cx = size.width();
    cy = size.height();
    if (!movesRight)
        x = saturate(right - cx);
    if (!movesBottom)
        y = saturate(bottom - cy);
}

void ObjItemBitmap::exchangePicture(HeldPicture& held)
{
    std::swap(dib, held.dib);
    std::swap(decoded_, held.decoded);
    std::swap(decodedBytes_, held.decodedBytes);
    cache_ = QImage();
    dibWidth = dib.width();
    dibHeight = heightOf(dib);
}

void ObjItemBitmap::ReplacePicture(platform::Dib picture)
{
    HeldPicture held{std::move(picture), {}, {}};
    exchangePictureFitted(held);
}

void ObjItemBitmap::exchangePictureFitted(HeldPicture& held)
{
    exchangePicture(held);
    const Rect old = plainBounds();
    const QSize size = fitInBox(QSize(dibWidth, dibHeight), QSize(cx, cy));
    const Rect box = centreIn(Rect{0, 0, size.width(), size.height()}, old);
    x = box.left;
    y = box.top;
    cx = size.width();
    cy = size.height();
}

const QImage& ObjItemBitmap::decoded() const
{
    if (dib.isEmpty()) {
        decoded_ = QImage();
        decodedBytes_.clear();
        cache_ = QImage();
    } else if (!decodedBytes_.isSharedWith(dib.bytes())) {
        decoded_ = dib.toImage();
        decodedBytes_ = dib.bytes();
        cache_ = QImage(); // made from other pixels
    }
    return decoded_;
}

void ObjItemBitmap::refreshCache(const Rect& r, const QImage& source) const
{
    const std::int64_t w = r.width();
    const std::int64_t h = r.height();
    const int cw = cache_.isNull() ? -1 : cache_.width();
    const int ch = cache_.isNull() ? -1 : cache_.height();
    if (std::abs(cw - w) <= kCacheTolerance && std::abs(ch - h) <= kCacheTolerance)
        return;
    if (w > source.width() || h > source.height())
        return; // enlarged pictures are stretched at every draw
    cache_ = QImage();
    if (w <= 0 || h <= 0)
        return;
    QImage scaled(int(w), int(h), QImage::Format_RGB32);
    if (scaled.isNull())
        return;
    scaled.fill(kWhite);
    {
        platform::Dc dc(&scaled);
        dc.drawImage(0, 0, int(w), int(h), source, 0, 0, source.width(), source.height());
    }
    cache_ = std::move(scaled);
}

void ObjItemBitmap::Draw(platform::Dc& dc) const
{
    const QImage& source = decoded();
    if (source.isNull() || !dc.isValid())
        return;
    const ViewScale scale = ViewScale::of(dc);
    const Rect r = scale.toDevice(plainBounds());
    if (qr) {
        // Printed from what it says, so a code filled from a list is its own.
        const QImage printed = dc.printing() ? qr::picture(*qr, color).toImage() : QImage();
        qr::draw(dc, printed.isNull() ? source : printed, r);
        return;
    }
    // Printing stretches the DIB at the printer's resolution and leaves the cache alone.
    if (!dc.printing())
        refreshCache(r, source);
    PictureDraw draw(dc, r, source, dc.printing() || cache_.isNull() ? nullptr : &cache_, shape);
    if (whiteOut != 0) {
        draw.whiteOut();
        return;
    }
    switch (edgeMode) {
    case EdgePlain:
        draw.clipped();
        break;
    case EdgeShadow:
        draw.shadow(scale.mmToDevice(kShadowOffsetMm), scale.tenthMmToDevice(kShadowSoftnessTenthMm));
        draw.clipped();
        break;
    case EdgeBlur:
        draw.blurred(scale.mmToDevice(kBlurWidthMm));
        break;
    default:
        draw.plain();
        break;
    }
}
