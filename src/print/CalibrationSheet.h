// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

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
class CalibrationSheet {
public:
    static constexpr int kRulerReachMm = 6;

    explicit CalibrationSheet(CardFormat format) : format_(std::move(format)) {}

    // Draws on dc at pixelsPerInch; millimetre 0 is the paper's edge, found
    // through dc's physical offset. One-pixel lines.
    void draw(platform::Dc& dc, int pixelsPerInch) const;
    // One page on target, at its own resolution unless pixelsPerInch > 0. False
    // when the document or its page could not be started.
    bool print(SheetTarget& target, int pixelsPerInch = 0) const;

private:
    void drawRulers(platform::Dc& dc, int x, int y, int pixelsPerInch) const;

    CardFormat format_;
};

} // namespace print
