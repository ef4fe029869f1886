// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

#include <QPageLayout>
#include <QSizeF>

namespace print {

// Whether every card of the format lies on the paper: paperMm is the paper's size
// in millimetres (either way round), turned to orientation. Half a millimetre of
// slack absorbs sizes rounded to points. A format without cards fits any paper.
bool formatFitsPaper(const CardFormat& format, QSizeF paperMm, QPageLayout::Orientation orientation);

} // namespace print
