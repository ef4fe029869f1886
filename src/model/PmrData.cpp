// SPDX-License-Identifier: GPL-3.0-or-later
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
using platform::saturate;

PmrData::Position PmrData::append(std::unique_ptr<ObjItem> item)
{
    return items_.insert(items_.end(), std::move(item));
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
    keptRecords.clear();
    extrasDamaged = false;
    back_.reset();
}

PmrData& PmrData::ensureBack()
{
    if (!back_) {
        back_ = std::make_unique<PmrData>();
        back_->cardWidth = cardWidth;
        back_->cardHeight = cardHeight;
    }
    return *back_;
}

void PmrData::setBack(std::unique_ptr<PmrData> back)
{
    if (back)
        back->back_.reset();
    back_ = std::move(back);
}

bool PmrData::isBlank() const
{
    return items_.empty() && pattern.isEmpty() && backColor == 0xFFFFFF && patternScale == 100 && keptRecords.empty();
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
    swap(keptRecords, other.keptRecords);
    swap(extrasDamaged, other.extrasDamaged);
    swap(back_, other.back_);
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

void PmrData::store(Archive& ar, bool asBack) const
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
    extras::store(ar, *this, asBack);
}

void PmrData::load(Archive& ar, bool asBack)
{
    items_.clear();
    pattern.clear();
    keptRecords.clear();
    extrasDamaged = false;
    back_.reset();
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
    extras::load(ar, *this, asBack);
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

PmrData::TilePlan PmrData::tilePlan(int width, int height, int scale, int percent, bool printing, QSize card)
{
    const ViewScale s = ViewScale::at(scale);
    constexpr int unitsPerPoint = std::max(1, ViewScale::kUnitsPerInch / 72);
    TilePlan plan;
    // Rounded to whole pixels before the points are multiplied out.
    plan.width = mulDivRound(std::int64_t(s.toDevice(width)) * unitsPerPoint, percent, 100);
    plan.height = mulDivRound(std::int64_t(s.toDevice(height)) * unitsPerPoint, percent, 100);
    plan.direct = percent == 100 || printing || plan.width >= card.width() || plan.height >= card.height();
    return plan;
}

void PmrData::drawBackground(platform::Dc& dc, const Rect& card) const
{
    const QRect clip = dc.clipBox();
    const QImage& tileSource = patternImage();
    // Top-down pictures tile like the others.
    const TilePlan plan = tileSource.isNull() ? TilePlan{}
                                              : tilePlan(pattern.width(), std::abs(pattern.height()), dc.scale(),
                                                         patternScale, dc.printing(),
                                                         QSize(saturate(card.width()), saturate(card.height())));
    // No pattern, or one whose tile comes to no pixels (a tiny picture far out,
    // a stored scale of 0 or less): the colour.
    if (plan.width <= 0 || plan.height <= 0) {
        const platform::Pen previousPen = dc.setPen(platform::Pen::null());
        const platform::Brush previous = dc.setBrush(platform::Brush::solid(platform::colorFromRef(backColor)));
        const Rect r = card.inflated(1, 1);
        dc.rectangle(r.left, r.top, r.right, r.bottom);
        dc.setBrush(previous);
        dc.setPen(previousPen);
        return;
    }
    const int tileW = plan.width;
    const int tileH = plan.height;
    const bool direct = plan.direct;
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
    // The same places as stepping from the card's corner, starting at the first
    // row and column that can meet the clip box.
    const auto first = [](std::int64_t start, std::int64_t clipStart, int step) {
        return clipStart > start ? start + (clipStart - start) / step * step : start;
    };
    const std::int64_t bottom = std::min<std::int64_t>(card.bottom, std::int64_t(clip.bottom()) + 1);
    const std::int64_t right = std::min<std::int64_t>(card.right, std::int64_t(clip.right()) + 1);
    for (std::int64_t ty = first(card.top, clip.top(), tileH); ty < bottom; ty += tileH) {
        for (std::int64_t tx = first(card.left, clip.left(), tileW); tx < right; tx += tileW) {
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
