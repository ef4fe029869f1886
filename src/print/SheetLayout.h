// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <utility>

namespace print {

// Where the cards of a format lie on a sheet, in device pixels of one resolution.
// Every length is converted from millimetres on its own (value × ppi × 10 ÷ 254,
// plus one half, truncated toward zero); positions add up converted widths and gaps.
struct SheetLayout {
    int cardWidth = 0;
    int cardHeight = 0;
    std::int64_t left = 0; // the first column's left edge
    std::int64_t top = 0;  // the first row's top edge
    std::int64_t stepX = 0; // from one column to the next: gap + card width
    std::int64_t stepY = 0; // from one row to the next: card height + gap
    int columns = 0;
    int rows = 0;

    // offset: added to every position, in device pixels (the fine adjustment less
    // the device's physical offset).
    static SheetLayout make(const CardFormat& format, int pixelsPerInch, QPoint offset);

    // The shift of every card: the adjustment in millimetres converted, less the
    // physical offset of the device (the printable area's corner on the paper).
    static QPoint offsetPixels(int adjustXmm, int adjustYmm, int pixelsPerInch, QPoint physicalOffset);

    std::int64_t x(std::int64_t column) const { return left + column * stepX; }
    std::int64_t y(std::int64_t row) const { return top + row * stepY; }
    bool hasCards() const { return columns > 0 && rows > 0; }
    std::int64_t cardsPerSheet() const { return hasCards() ? std::int64_t(columns) * rows : 0; }

    // The columns [first, end) whose cards meet the horizontal span [from, to) of
    // the sheet. Columns that land exactly on an earlier one (a step of 0) are
    // not counted again.
    std::pair<int, int> columnsWithin(std::int64_t from, std::int64_t to) const;
    std::pair<int, int> rowsWithin(std::int64_t from, std::int64_t to) const;
};

} // namespace print
