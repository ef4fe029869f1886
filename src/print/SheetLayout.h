// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <utility>

namespace print {

// How a sheet printed on both sides is turned over between its front and its
// back: over its long edge, its short edge, or by hand (the stack turned over
// its long edge and fed again once every front is printed).
enum class Flip { LongEdge, ShortEdge, Manual };

// Where the back of a card lies on the back of the sheet: its front's place
// mirrored about the sheet's vertical centre line, or its horizontal one.
enum class Mirror { LeftRight, TopBottom };

// A sheet turned over an edge parallel to its height (the long edge of a
// portrait or square sheet, the short edge of a landscape one) mirrors left
// and right; over an edge parallel to its width, top and bottom.
Mirror mirrorFor(Flip flip, QSize paperMm);

// The paper a format's sheets are: its own size, A4 when it has none.
QSize paperOf(const CardFormat& format);

// How the back's picture is turned to fit the front's place: not at all for a
// back of the front's orientation, else a quarter by the 左天 rule (the left
// edge of the horizontal side along the top edge of the vertical side), which
// on the sheet is clockwise when the sheet mirrors left and right,
// anticlockwise when it mirrors top and bottom. Square sides are never turned.
enum class Turn { None, Clockwise, Anticlockwise };
Turn backTurn(QSize frontMm, QSize backMm, Mirror mirror);

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
    // The places on the back of the sheet that lie behind those of make()'s
    // (without its offset) once the sheet is turned: mirrored about the
    // centre line of the format's paper, with a negative step; then moved by
    // offset.
    static SheetLayout makeBack(const CardFormat& format, int pixelsPerInch, QPoint offset, Mirror mirror);

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
