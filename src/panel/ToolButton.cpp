// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ToolButton.h"

#include "resources/Images.h"

#include <QPainter>

namespace panel {

namespace {

// ORs a one-bit 8 × 8 pattern onto the image, tiled from its top-left corner: set
// (light) bits turn pixels white, clear bits leave them.
void mergePattern(QImage& image, const QImage& pattern)
{
    if (pattern.width() < 8 || pattern.height() < 8)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qGray(pattern.pixel(x % 8, y % 8)) >= 128)
                line[x] = 0xFFFFFFFF;
    }
}

} // namespace

void ToolButton::setGlyph(int glyphId, int maskId)
{
    glyphId_ = glyphId;
    maskId_ = maskId;
    update();
}

// The glyph only, vertically centred at the left; the name is the tool tip.
void ToolButton::paintEvent(QPaintEvent*)
{
    QImage glyph = resources::bitmap(glyphId_).convertToFormat(QImage::Format_RGB32);
    if (glyph.isNull())
        return;
    if (isDown())
        glyph.invertPixels();
    if (!isEnabled())
        mergePattern(glyph, resources::bitmap(resources::img::GreyPattern));
    // Without its mask the glyph is drawn whole.
    const QImage mask = resources::bitmap(maskId_);
    const QImage shown = mask.isNull() ? glyph : throughMask(glyph, glyph.rect(), mask, QPoint(0, 0));
    QPainter painter(this);
    drawPixelArt(painter, QPoint(0, (height() - glyph.height()) / 2), shown);
}

} // namespace panel
