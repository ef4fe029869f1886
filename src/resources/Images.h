// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace resources {

// Bitmap and icon resource ids.
namespace img {
inline constexpr int AppIcon = 128;       // icon: a business card
inline constexpr int AboutIcon = 153;     // icon: a little printer with a card
inline constexpr int WindowTexture = 130; // 100 × 100, light paper, tiles seamlessly
inline constexpr int ButtonTexture = 131; // 100 × 100, dark red fibre, tiles seamlessly
inline constexpr int CheckSheet = 134;    // 80 × 40 check box frames
inline constexpr int RadioSheet = 135;    // 80 × 40 radio frames
inline constexpr int GlyphPicture = 138;
inline constexpr int GlyphDelete = 139;
inline constexpr int GlyphLine = 140;
inline constexpr int ToolMask = 141;      // 40 × 40, shared by every tool glyph
inline constexpr int GlyphRect = 142;
inline constexpr int GlyphText = 144;
inline constexpr int GlyphSendBack = 147;
inline constexpr int GreyPattern = 155;   // 8 × 8 pattern that greys out a disabled glyph
inline constexpr int GlyphDuplicate = 162;
inline constexpr int GlyphZoomIn = 179;
inline constexpr int GlyphZoomOut = 180;
inline constexpr int GlyphHelp = 181;
inline constexpr int GlyphQr = 182;

// Layout of the check and radio sheets: four frames side by side, picture rows on top
// of mask rows. Frame index: 0 enabled released, 1 enabled pressed, 2 disabled
// released, 3 disabled pressed.
inline constexpr int SheetFrames = 4;
inline constexpr int SheetFrameSize = 20;
inline constexpr int GlyphSize = 40;
} // namespace img

// The program's bitmaps, drawn on first use and cached; the same id always gives
// the same pixels. Every image is QImage::Format_RGB32:
// - 130, 131: textures of at most 256 colours;
// - 138..182 tool glyphs: at most 16 colours, black wherever mask 141 is white;
// - 141 and 155: one-bit images stored as RGB32 holding only pure black (0xFF000000,
//   a clear bit) and pure white (0xFFFFFFFF, a set bit). Mask convention: black is
//   opaque, white is transparent;
// - 134, 135: at most 16 colours; the upper 20 rows are the pictures, black where
//   the lower 20 rows (the masks, pure black and white) are white.
// Unknown ids give a null image.
QImage bitmap(int id);

// The window icon (128), drawn at 16, 32 and 48 pixels.
QIcon appIcon();

// Icon 128 or 153 as a square pixmap of the given size with a transparent
// background; a null pixmap for other ids or a size below 8.
QPixmap iconPixmap(int id, int size = 32);

} // namespace resources
