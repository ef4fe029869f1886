// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/TextureButton.h"

#include "panel/ShadowedText.h"
#include "platform/Dc.h"
#include "resources/Images.h"

#include <QPainter>

namespace panel {

namespace {

// The first tile's position: start at the button's screen position and step back
// whole tiles until it is no longer right of (below) the button's edge.
int firstTile(int screen, int edge, int tile)
{
    if (screen <= edge)
        return screen;
    return screen - (screen - edge + tile - 1) / tile * tile;
}

} // namespace

TextureButton::TextureButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
}

void TextureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    platform::Dc dc(&painter);
    const QRect item = rect();
    const int l = item.left(), t = item.top(), r = item.right() + 1, b = item.bottom() + 1;
    const bool down = isDown();
    // On a display of 256 colours or fewer the caption keeps the whole button and
    // does not move.
    QRect content = item;
    if (displayDepth() <= 8) {
        dc.fillRect(item, QColor(0x80, 0, 0));
    } else {
        const QImage tile = resources::bitmap(resources::img::ButtonTexture);
        const QPoint screen = mapToGlobal(item.topLeft());
        content = item.adjusted(2, 2, -2, -2);
        QPoint first;
        if (!tile.isNull())
            first = QPoint(firstTile(screen.x(), l, tile.width()), firstTile(screen.y(), t, tile.height()));
        if (!down) {
            content.translate(-1, -1);
            first -= QPoint(1, 1);
        }
        // Whole tiles, not clipped to the content: they cover the button.
        for (int y = first.y(); !tile.isNull() && y <= content.bottom(); y += tile.height())
            for (int x = first.x(); x <= content.right(); x += tile.width())
                dc.drawImage(x, y, tile);
    }
    if (down) {
        dc.fillRect(l, t, r, t + 1, Qt::white);
        dc.fillRect(l, t, l + 1, b, Qt::white);
    } else {
        const QColor grey(0x80, 0x80, 0x80);
        dc.fillRect(r - 2, t + 2, r, b, grey);
        dc.fillRect(r - 1, t + 1, r, b, grey);
        dc.fillRect(l + 2, b - 2, r, b, grey);
        dc.fillRect(l + 1, b - 1, r, b, grey);
    }
    const QColor face = isEnabled() ? QColor(Qt::white) : QColor(0x80, 0x80, 0x80);
    drawShadowedText(painter, boldCopy(font()), text(), content,
                     platform::dt::Center | platform::dt::VCenter, Qt::black, face);
}

} // namespace panel
