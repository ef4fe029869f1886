// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DocumentExtras.h"
#include "model/ObjItem.h"
#include "platform/Dib.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <list>
#include <memory>

class Archive;

namespace platform {
class Dc;
}

// The card page: the background, the items in drawing order (head drawn first)
// and the card size in whole millimetres. The page owns its items.
class PmrData {
public:
    using ItemList = std::list<std::unique_ptr<ObjItem>>;
    using Position = ItemList::iterator;

    PmrData() = default;
    PmrData(const PmrData&) = delete;
    PmrData& operator=(const PmrData&) = delete;

    ItemList& items() { return items_; }
    const ItemList& items() const { return items_; }

    // Appends at the tail (the top of its group) and returns its position.
    Position append(std::unique_ptr<ObjItem> item);
    // Destroys the item at pos.
    void remove(Position pos);
    // Destroys every item, resets the background and drops the back, as for a
    // new card; the size stays.
    void clear();
    // Exchanges everything the two pages hold.
    void swap(PmrData& other) noexcept;

    // The document: marker 1, the item count, one object record per item, the
    // card size, the pattern's byte count and bytes, the colour and the scale;
    // then, when needed, the block of extras (DocumentExtras.h).
    // Loading first drops every item and the pattern; older items are converted
    // in place once the list is read. On a failure the page keeps what was read
    // before it (only current items).
    void Serialize(Archive& ar);
    // asBack: the page is a card's back, which neither writes nor reads a back
    // of its own.
    void store(Archive& ar, bool asBack = false) const;
    void load(Archive& ar, bool asBack = false);

    // The card's back (うら): a page of its own, stored in the extras block.
    // Null for a card without one. The back never has a back.
    PmrData* back() { return back_.get(); }
    const PmrData* back() const { return back_.get(); }
    // The back, made empty and as large as this page when there is none.
    PmrData& ensureBack();
    // Takes a back (null drops it); a back's own back is dropped.
    void setBack(std::unique_ptr<PmrData> back);
    std::unique_ptr<PmrData> takeBack() { return std::move(back_); }
    // A page with nothing to keep: no items, the white background without a
    // pattern at 100 %, no kept records. Such a back is not stored.
    bool isBlank() const;
    // The back with something to keep, else null.
    const PmrData* storedBack() const { return back_ && !back_->isBlank() ? back_.get() : nullptr; }

    // Non-text items in list order, then text items in list order.
    template <class F>
    void forEachInDrawingOrder(F&& f) const
    {
        for (const auto& item : items_)
            if (!item->isText())
                f(*item);
        for (const auto& item : items_)
            if (item->isText())
                f(*item);
    }

    // Background. The pattern, when there is one, is drawn instead of the colour.
    static constexpr int kMinPatternScale = 20;
    static constexpr int kMaxPatternScale = 100;
    // Takes the pattern and resets the scale to 100.
    void setPattern(platform::Dib picture);
    // Drops the pattern and keeps the colour.
    void setBackColor(std::uint32_t color);
    void setPatternScale(int percent);

    // The tile of a pattern of width × height pixels at scale pixels per inch and
    // percent, and whether it is drawn straight from the picture (at 100 %, when
    // printing, or when the tile is at least as wide or high as the card) or
    // stretched once and copied.
    struct TilePlan {
        int width = 0;
        int height = 0;
        bool direct = true;
    };
    static TilePlan tilePlan(int width, int height, int scale, int percent, bool printing, QSize card);

    // Paints the background over card, a rectangle in dc's device pixels, at
    // dc's scale; only tiles meeting the clip box are drawn.
    void drawBackground(platform::Dc& dc, const platform::Rect& card) const;

    platform::Dib pattern;
    std::uint32_t backColor = 0xFFFFFF;
    int cardWidth = 91;
    int cardHeight = 55;
    int patternScale = 100;
    // Records of the trailing block this version does not know, written back
    // after its own; and whether the block was damaged when it was read.
    std::vector<extras::Record> keptRecords;
    bool extrasDamaged = false;

private:
    // The pattern decoded, kept while the pattern's bytes stay the same so a
    // drag does not decode it at every step.
    const QImage& patternImage() const;

    ItemList items_;
    std::unique_ptr<PmrData> back_;
    mutable QImage patternImage_;
    mutable QByteArray patternImageBytes_;
};
