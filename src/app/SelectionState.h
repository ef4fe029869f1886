// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PmrData.h"
#include "model/ViewScale.h"

#include <QPoint>

#include <optional>

// The selected item and its list position, or none.
class SelectionState {
public:
    explicit SelectionState(PmrData& page) : page_(&page) {}
    // The page hit tests look at: the side shown.
    void setPage(PmrData& page) { page_ = &page; }

    ObjItem* item() const { return item_; }
    const std::optional<PmrData::Position>& position() const { return position_; }
    void select(PmrData::Position pos)
    {
        position_ = pos;
        item_ = pos->get();
    }
    void clear()
    {
        position_.reset();
        item_ = nullptr;
    }
    void set(const std::optional<PmrData::Position>& pos) { pos ? select(*pos) : clear(); }

    // The topmost item under a point in item units: text items first, then the
    // others, each from the tail of the list. Nothing when no item is hit.
    std::optional<PmrData::Position> hitTest(QPoint units, const ViewScale& scale) const;
    // The selected item's handle whose 7 × 7 pixel square holds the card-relative
    // pixel point; the lowest index wins.
    std::optional<int> handleAt(QPoint pixels, const ViewScale& scale) const;

private:
    PmrData* page_;
    ObjItem* item_ = nullptr;
    std::optional<PmrData::Position> position_;
};
