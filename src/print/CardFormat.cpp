// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFormat.h"

#include <cstdint>

namespace {

// Extent needed along one axis. Every term is a product of two ints, so the sum
// stays well inside 64 bits for any field values.
std::int64_t neededExtent(int count, int card, int margin, int gap)
{
    std::int64_t need = std::int64_t(count) * card + margin;
    if (count > 1)
        need += (std::int64_t(count) - 1) * gap;
    return need;
}

} // namespace

bool CardFormat::fitsPaper() const
{
    return neededExtent(columns, cardWidth, leftMargin, gapX) <= paperWidth
        && neededExtent(rows, cardHeight, topMargin, gapY) <= paperHeight;
}
