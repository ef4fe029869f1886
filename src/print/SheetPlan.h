// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"
#include "print/SheetLayout.h"

#include <QRect>

#include <cstdint>
#include <memory>

namespace print {

class CardList;

// The largest card picture a job makes (bytes of 32-bit pixels); a larger card
// prints its text only.
inline constexpr std::int64_t kMaxCardPictureBytes = std::int64_t(1) << 30;

// a × b, saturating; 0 when either is not positive.
std::int64_t productSat(std::int64_t a, std::int64_t b);

// The sides of the card a job prints.
enum class Sides { Front, Back, Both };

// An N-up print job: the card on every position of a card format, sheet after sheet.
struct SheetJob {
    CardFormat format;       // a copy
    // 0: the target's. Another value only makes sense for surfaces whose
    // pixels have no physical size of their own.
    int pixelsPerInch = 0;
    int adjustX = 0;         // whole millimetres, positive to the right
    int adjustY = 0;         // whole millimetres, positive downwards
    bool onlyOne = false;    // only one card on every sheet, at the first position it may use
    // 1-based position of the first sheet's first card, counted row by row from
    // the top left; the positions before it stay empty. Later sheets start at 1.
    int start = 1;
    // Without a list, the sheets printed; with one, SheetPlan::sheets() works
    // them out and the renderer sets them.
    int sheets = 1;
    std::int64_t maxPictureBytes = kMaxCardPictureBytes;
    // The people to print for, one row each (see CardList); null: the card as
    // it is on every position.
    std::shared_ptr<const CardList> list;
    // With a list, the cards of each row, side by side in reading order.
    int copies = 1;
    // The sides printed. Every sheet's back lies behind its front once the
    // sheet is turned over as `flip` says (SheetLayout::makeBack), each card's
    // back behind its own front; printed alone, the backs lie where they
    // would with both.
    Sides sides = Sides::Front;
    Flip flip = Flip::LongEdge;
    int backAdjustX = 0;     // the backs' fine adjustment, like adjustX
    int backAdjustY = 0;
};

// One page of a job's output: a sheet's front or its back.
struct Face {
    int sheet = 0;
    bool back = false;
    friend bool operator==(const Face&, const Face&) = default;
};

// Which card of a job goes where: sheets, cards and positions, without drawing.
// Positions count row by row from the top left; sheets, positions and cards
// (in printing order) from 0. The job must outlive the plan.
class SheetPlan {
public:
    explicit SheetPlan(const SheetJob& job) : job_(job) {}

    // The sheets the job prints: `sheets` without a list; with one, as many as
    // its rows × copies take from the start position on (one card a sheet with
    // onlyOne), 0 when the format has no cards.
    int sheets() const;
    // The cards the job prints: the positions of every sheet less the empty ones
    // of the first, or one a sheet with onlyOne; with a list, rows × copies. 0
    // when the format has no cards. Saturates.
    std::int64_t totalCards() const;
    std::int64_t cardsOnSheet(int sheet) const;
    // The positions a sheet leaves empty before its first card.
    std::int64_t skippedOnSheet(int sheet) const;
    // The cards printed on the sheets before `sheet`.
    std::int64_t cardsBefore(int sheet) const;
    // The card at a position of a sheet, or -1 for a position the job leaves empty.
    std::int64_t cardAt(int sheet, std::int64_t position) const;
    // The row of the list a card prints, or -1 without a list.
    std::int64_t rowOfCard(std::int64_t card) const;

    // The pages the job's output has: a sheet's front, its back, or both. Both
    // come front, back, front, back …; turned by hand, every front, then every
    // back in the same order.
    int pages() const;
    Face faceAt(int page) const;
    // The cards printed on the pages before `page`, and on all of them.
    std::int64_t cardsBeforePage(int page) const;
    std::int64_t totalPrinted() const;

    // The rows [row0, row1) and columns [column0, column1) of a sheet's layout
    // whose cards are printed and meet `area`; empty spans when none do.
    struct Span {
        int row0 = 0, row1 = 0, column0 = 0, column1 = 0;
        bool isEmpty() const { return row0 >= row1 || column0 >= column1; }
    };
    Span drawnOn(const SheetLayout& layout, const QRect& area, int sheet) const;

private:
    // The cards a sheet can take, and those of a list job: rows × copies.
    std::int64_t capacity(int sheet) const;
    std::int64_t listCards() const;

    const SheetJob& job_;
};

} // namespace print
