// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The drawing of the program's bitmaps and icons, one source per kind of
// picture; resources::bitmap and iconPixmap put them together.

#include <QColor>
#include <QImage>

#include <functional>

class QPainter;

namespace resources::art {

// A small palette for glyphs and sheets (16 colours at most per image).
enum Pal {
    Black, White, Face, FaceShade, Outline, Ink, Grey, LightGrey,
    Red, Pink, Blue, LightBlue, Green, Yellow, Orange, Purple,
};

inline constexpr QRgb kPalette[16] = {
    0xFF000000, 0xFFFFFFFF, 0xFFFFF4DA, 0xFFF2D9A2, 0xFF5A3A22, 0xFF2A2A48, 0xFF8E8E9C, 0xFFD4D4DE,
    0xFFE0474C, 0xFFF7A3B7, 0xFF3C7DD9, 0xFFA9D5F7, 0xFF45A85A, 0xFFFFD23F, 0xFFF29136, 0xFF8E6CC9,
};

inline QColor pal(Pal c) { return QColor::fromRgb(kPalette[c]); }

// Draws small pixel art: the drawing runs without antialiasing at four times the
// size, and each pixel takes the colour most of its 16 samples have (ties go to a
// colour other than the background), so shapes come out smooth yet keep to the
// colours they were drawn with.
QImage pixelArt(int w, int h, QRgb background, const std::function<void(QPainter&)>& draw);
// Pure black where black(x, y) holds, pure white elsewhere.
QImage blackWhite(int w, int h, const std::function<bool(int, int)>& black);

// 100 × 100 tiles (ImageTextures.cpp).
QImage windowTexture();
QImage buttonTexture();

// Tool glyphs, null for an id that is none; their mask and the grey pattern
// (ImageGlyphs.cpp).
QImage toolGlyph(int id);
QImage toolMask();
QImage greyPattern();

// Icons, square, on a transparent background (ImageIcons.cpp).
QImage cardIcon(int size);
QImage printerIcon(int size);

} // namespace resources::art
