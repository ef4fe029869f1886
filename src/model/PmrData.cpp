#include "model/PmrData.h"

#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"

#include <algorithm>
#include <cstdlib>

using platform::mulDivRound;
using platform::Rect;

PmrData::Position PmrData::append(std::unique_ptr<ObjItem> item)
{
    return items_.insert(items_.end(), std::move(item));
}

PmrData::Position PmrData::insertAfter(Position pos, std::unique_ptr<ObjItem> item)
{
    return items_.insert(std::next(pos), std::move(item));
}

PmrData::Position PmrData::moveToHead(Position pos)
{
    items_.splice(items_.begin(), items_, pos);
    return items_.begin();
}

void PmrData::remove(Position pos)
{
    items_.erase(pos);
}

void PmrData::clear()
{
    items_.clear();
    pattern.clear();
    backColor = 0xFFFFFF;
    patternScale = 100;
}

void PmrData::setPattern(platform::Dib picture)
{
    pattern = std::move(picture);
    patternScale = 100;
}

void PmrData::setBackColor(std::uint32_t color)
{
    pattern.clear();
    backColor = color;
}

void PmrData::setPatternScale(int percent)
{
    patternScale = std::clamp(percent, kMinPatternScale, kMaxPatternScale);
}

void PmrData::drawBackground(platform::Dc& dc, const Rect& card) const
{
    const QRect clip = dc.clipBox();
    const QImage tileSource = pattern.isEmpty() ? QImage() : pattern.toImage();
    if (tileSource.isNull()) {
        const platform::Pen previousPen = dc.setPen(platform::Pen::null());
        const platform::Brush previous = dc.setBrush(platform::Brush::solid(platform::colorFromRef(backColor)));
        const Rect r = card.inflated(1, 1);
        dc.rectangle(r.left, r.top, r.right, r.bottom);
        dc.setBrush(previous);
        dc.setPen(previousPen);
        return;
    }

    const int w = pattern.width();
    const int h = std::abs(pattern.height()); // top-down pictures tile like the others
    constexpr int unitsPerPoint = std::max(1, ViewScale::kUnitsPerInch / 72);
    const int tileW = mulDivRound(std::int64_t(toDevice(w)) * unitsPerPoint, patternScale, 100);
    const int tileH = mulDivRound(std::int64_t(toDevice(h)) * unitsPerPoint, patternScale, 100);
    // A tile of no size (tiny or top-down pictures, a scale of 0 or less) draws nothing.
    if (tileW <= 0 || tileH <= 0)
        return;

    const bool direct = patternScale == 100 || printingFlag() == 1 || tileW >= card.width() || tileH >= card.height();
    QImage tile;
    if (!direct) {
        // Stretched once, then copied to every place.
        platform::Dc tileDc(QSize(tileW, tileH));
        if (!tileDc.isValid())
            return;
        tileDc.drawImage(QRect(0, 0, tileW, tileH), tileSource, tileSource.rect());
        tile = *tileDc.image();
    }
    const QRect source = tileSource.rect();
    for (std::int64_t ty = card.top; ty < card.bottom; ty += tileH) {
        for (std::int64_t tx = card.left; tx < card.right; tx += tileW) {
            const QRect r(int(tx), int(ty), tileW, tileH);
            if (!r.intersects(clip))
                continue;
            if (direct)
                dc.drawImage(r, tileSource, source);
            else
                dc.bitBlt(r.x(), r.y(), tileW, tileH, tile, 0, 0);
        }
    }
}
