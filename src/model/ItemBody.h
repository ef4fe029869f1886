// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CardText.h"
#include "platform/Dib.h"
#include "platform/LogFont.h"

#include <cstdint>

class Archive;

// The stored bodies shared by the current item classes and the older family:
// each part is written or read by the archive's mode.
namespace itembody {

// x and y as one 8-byte pair, cx and cy as another, then the colour.
void serializeCommon(Archive& ar, int& x, int& y, int& cx, int& cy, std::uint32_t& color);
// align, reserved, the text, the 60-byte LOGFONT.
void serializeText(Archive& ar, int& align, int& reserved, CardText& text, platform::LogFont& font);
void serializeLine(Archive& ar, int& width);
// dibWidth and dibHeight as one pair, whiteOut, edgeMode, shape, the byte count
// and the picture's bytes.
void serializePicture(Archive& ar, platform::Dib& dib, int& dibWidth, int& dibHeight, int& whiteOut,
                      int& edgeMode, int& shape);

// A byte count and that many bytes of a picture (0: none).
void serializeDib(Archive& ar, platform::Dib& dib);

} // namespace itembody
