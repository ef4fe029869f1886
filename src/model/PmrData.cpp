#include "model/PmrData.h"

#include "model/Archive.h"
#include "model/ItemBody.h"
#include "model/ObjItem0.h"
#include "model/ViewScale.h"
#include "resources/Strings.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

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

void PmrData::swap(PmrData& other) noexcept
{
    using std::swap;
    items_.swap(other.items_);
    swap(pattern, other.pattern);
    swap(backColor, other.backColor);
    swap(cardWidth, other.cardWidth);
    swap(cardHeight, other.cardHeight);
    swap(patternScale, other.patternScale);
    swap(patternImage_, other.patternImage_);
    swap(patternImageBytes_, other.patternImageBytes_);
}

void PmrData::Serialize(Archive& ar)
{
    if (ar.isStoring())
        store(ar);
    else
        load(ar);
}

void PmrData::store(Archive& ar) const
{
    if (items_.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw ArchiveError(resources::ids::ArchiveErrorGeneric);
    ar.writeUInt32(1);
    ar.writeInt32(static_cast<std::int32_t>(items_.size()));
    for (const auto& item : items_)
        ar.writeObject(*item);
    ar.writeInt32(cardWidth);
    ar.writeInt32(cardHeight);
    platform::Dib picture = pattern;
    itembody::serializeDib(ar, picture);
    ar.writeUInt32(backColor);
    ar.writeInt32(patternScale);
}

void PmrData::load(Archive& ar)
{
    items_.clear();
    pattern.clear();
    ar.readUInt32(); // format marker, not checked
    const std::int32_t count = ar.readInt32();

    // Objects wait here until the list is complete, then enter the page in the
    // order read, older ones converted; also when reading stops half way.
    std::vector<std::unique_ptr<Serializable>> read;
    const auto adopt = [&] {
        bool complete = true;
        for (auto& object : read) {
            if (auto item = toCurrentItem(std::move(object)))
                items_.push_back(std::move(item));
            else
                complete = false;
        }
        read.clear();
        return complete;
    };
    try {
        for (std::int32_t i = 0; i < count; ++i)
            read.push_back(ar.readObject());
    } catch (...) {
        adopt();
        throw;
    }
    if (!adopt())
        throw ArchiveError::outOfMemory();

    cardWidth = ar.readInt32();
    cardHeight = ar.readInt32();
    itembody::serializeDib(ar, pattern);
    backColor = ar.readUInt32();
    patternScale = ar.readInt32();
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

const QImage& PmrData::patternImage() const
{
    if (!patternImageBytes_.isSharedWith(pattern.bytes())) {
        patternImage_ = pattern.isEmpty() ? QImage() : pattern.toImage();
        patternImageBytes_ = pattern.bytes();
    }
    return patternImage_;
}

void PmrData::drawBackground(platform::Dc& dc, const Rect& card) const
{
    const QRect clip = dc.clipBox();
    const QImage& tileSource = patternImage();
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
    const ViewScale scale = ViewScale::of(dc);
    const int tileW = mulDivRound(std::int64_t(scale.toDevice(w)) * unitsPerPoint, patternScale, 100);
    const int tileH = mulDivRound(std::int64_t(scale.toDevice(h)) * unitsPerPoint, patternScale, 100);
    // A tile of no size (tiny or top-down pictures, a scale of 0 or less) draws nothing.
    if (tileW <= 0 || tileH <= 0)
        return;

    const bool direct = patternScale == 100 || dc.printing() || tileW >= card.width() || tileH >= card.height();
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
