#include "model/ObjItemBitmap.h"

#include "model/Archive.h"
#include "model/ClassRegistry.h"
#include "model/Geometry.h"
#include "model/ItemBody.h"
#include "model/ObjItemRect.h"
#include "model/ViewScale.h"

#include <algorithm>
#include <cstdlib>

using platform::addSat;
using platform::Rect;
using platform::saturate;

namespace {

// Item units per picture pixel: one pixel is one point.
constexpr int kUnitsPerPixel = std::max(1, ViewScale::kUnitsPerInch / 72);

} // namespace

ObjItemBitmap::ObjItemBitmap()
{
    kind = KindPicture;
}

ObjItemBitmap::ObjItemBitmap(const ObjItemBitmap& other)
    : ObjItem(other), dib(other.dib), dibWidth(other.dibWidth), dibHeight(other.dibHeight),
      whiteOut(other.whiteOut), edgeMode(other.edgeMode), shape(other.shape)
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
    // Top-down pictures report a negative height; their size is its magnitude.
    dibWidth = dib.width();
    dibHeight = std::abs(dib.height());
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

void ObjItemBitmap::ReplacePicture(platform::Dib picture)
{
    takePicture(std::move(picture));
    const Rect old = plainBounds();
    const QSize size = fitInBox(QSize(dibWidth, dibHeight), QSize(cx, cy));
    const Rect box = centreIn(Rect{0, 0, size.width(), size.height()}, old);
    x = box.left;
    y = box.top;
    cx = size.width();
    cy = size.height();
}
