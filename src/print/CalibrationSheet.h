// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"
#include "print/SheetLayout.h"

class QString;

namespace platform {
class Dc;
}

namespace print {

class SheetTarget;

// A sheet to measure how far a printer puts cards off: every card position's
// outline, and at every card corner two millimetre rulers across the corner, one
// along each edge. Tick 0 lies on the corner; a tick every millimetre, longer
// every 5 (the longest on 0), numbered -5 and +5, kRulerReachMm either side. The number under the
// stock's real cut is the offset to type. The fine adjustment is ignored.
//
// Printed on both sides, the back of the sheet carries the same rulers at the
// corners of every position's back place (SheetLayout::makeBack), drawn and
// numbered in the back page's own coordinates: looking at the back, + lies
// right and down, as the back offsets move the backs, so the number under the
// cut is again the back offset to type. The back is labelled うら with the way
// it was turned, the front おもて: above the cards, else below them, else (no
// margin tall enough) in the middle of a card.
class CalibrationSheet {
public:
    static constexpr int kRulerReachMm = 6;

    explicit CalibrationSheet(CardFormat format) : format_(std::move(format)) {}

    // Draws on dc at pixelsPerInch; millimetre 0 is the paper's edge, found
    // through dc's physical offset. One-pixel lines.
    void draw(platform::Dc& dc, int pixelsPerInch) const;
    // The back of the sheet turned over as flip says, like draw().
    void drawBack(platform::Dc& dc, int pixelsPerInch, Flip flip) const;
    // One page on target, at its own resolution unless pixelsPerInch > 0. False
    // when the document or its page could not be started.
    bool print(SheetTarget& target, int pixelsPerInch = 0) const;
    // Two pages, the labelled front then the back; by hand as well, since one
    // sheet's fronts and backs come in that order either way.
    bool printBothSides(SheetTarget& target, Flip flip, int pixelsPerInch = 0) const;
    // One labelled side of a sheet printed on both, as a job of its own: for a
    // sheet turned over by hand between the two.
    bool printSide(SheetTarget& target, bool back, Flip flip, int pixelsPerInch = 0) const;

    // What the back page is labelled with for flip.
    static QString backLabel(Flip flip);
    static QString frontLabel();

private:
    void drawFront(platform::Dc& dc, int pixelsPerInch, const QString& label) const;
    void drawSheet(platform::Dc& dc, const SheetLayout& layout, int pixelsPerInch, const QString& label) const;
    void drawRulers(platform::Dc& dc, int x, int y, int pixelsPerInch) const;
    void drawLabel(platform::Dc& dc, const SheetLayout& layout, int pixelsPerInch, const QString& label) const;

    CardFormat format_;
};

} // namespace print
