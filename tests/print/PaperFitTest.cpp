// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFormatCatalog.h"
#include "print/PaperFit.h"

#include <gtest/gtest.h>

using print::formatFitsPaper;

TEST(PaperFit, TheCardsMustLieWithinThePaperAsItIsTurned)
{
    const CardFormat a4 = CardFormatCatalog().format(0); // "名刺10面 A4"
    CardFormat none = a4;
    none.rows = 0;
    CardFormat gaps = a4;
    gaps.paperWidth = 300;
    gaps.gapX = 200;
    const struct {
        const char* what;
        const CardFormat& format;
        QSizeF paper;
        QPageLayout::Orientation orientation;
        bool fits;
    } cases[] = {
        {"portrait A4 holds the A4 format", a4, {210, 297}, QPageLayout::Portrait, true},
        {"A4 in points, a little narrower, still holds it", a4, {209.9, 297}, QPageLayout::Portrait, true},
        {"a size given landscape first is turned upright", a4, {297, 210}, QPageLayout::Portrait, true},
        {"Letter cuts the bottom row", a4, {215.9, 279.4}, QPageLayout::Portrait, false},
        {"landscape A4 loses rows", a4, {210, 297}, QPageLayout::Landscape, false},
        {"a format without cards fits anything", none, {10, 10}, QPageLayout::Portrait, true},
        {"the gap pushes the second column off the paper", gaps, {210, 297}, QPageLayout::Portrait, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFitsPaper(c.format, c.paper, c.orientation), c.fits) << c.what;
}
