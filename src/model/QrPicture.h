// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/QrContent.h"
#include "platform/Dib.h"
#include "platform/Rect.h"

#include <QImage>

#include <cstdint>

namespace platform {
class Dc;
}

namespace qr {

// The code as a 1-bit picture: one pixel a module, the quiet zone around it,
// dark modules in color on white.
platform::Dib picture(const Modules& modules, std::uint32_t color);
// The picture of content, or an empty one when it does not fit a code.
platform::Dib picture(const QrContent& content, std::uint32_t color);

// Draws a code's picture (one pixel a module) over r, in dc's device pixels:
// white, then each run of dark pixels of a row as one rectangle of its colour,
// every module edge on a whole device pixel. Printed, they stay vector squares.
void draw(platform::Dc& dc, const QImage& modules, const platform::Rect& r);

// The smallest module of a code of `side` modules (quiet zone included) drawn
// `extent` item units wide, in hundredths of a millimetre.
int moduleHundredthsMm(int side, int extent);

} // namespace qr
