// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The pictures of the sample cards, drawn by this program; they may be used
// freely with Pelmora's samples. No outside picture is used.
namespace samples {

// A sunset over the sea with islands, in the proportions of the heart (94 × 90).
QImage sunset();
// A wheat ear in a ring on pure white, in few flat colours: the white is left
// out when drawn, so what lies beneath shows through.
QImage wheatLogo();
// Blue wave scales that repeat seamlessly: 2r × r pixels.
QImage waveTile();

} // namespace samples
