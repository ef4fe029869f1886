// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PaperFit.h"

#include "print/SheetLayout.h"

#include <algorithm>

namespace print {

bool formatFitsPaper(const CardFormat& format, QSizeF paperMm, QPageLayout::Orientation orientation)
{
    // At 254 pixels per inch a pixel is a tenth of a millimetre.
    const SheetLayout l = SheetLayout::make(format, 254, {});
    if (!l.hasCards())
        return true;
    const std::int64_t right = std::max(l.x(0), l.x(l.columns - 1)) + l.cardWidth;
    const std::int64_t bottom = std::max(l.y(0), l.y(l.rows - 1)) + l.cardHeight;
    const double shortSide = std::min(paperMm.width(), paperMm.height());
    const double longSide = std::max(paperMm.width(), paperMm.height());
    const bool landscape = orientation == QPageLayout::Landscape;
    const double width = (landscape ? longSide : shortSide) + 0.5;
    const double height = (landscape ? shortSide : longSide) + 0.5;
    return right <= width * 10 && bottom <= height * 10;
}

} // namespace print
