// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ColorSwatch.h"

#include <QPainter>

namespace panel {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void ColorSwatch::setColor(std::uint32_t color)
{
    color_ = color & 0xFFFFFF;
    update();
}

// The colour fills the inside of the frame less one pixel on every side.
void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QColor c(int(color_ & 0xFF), int((color_ >> 8) & 0xFF), int((color_ >> 16) & 0xFF));
    painter.fillRect(contentsRect().adjusted(1, 1, -1, -1), c);
}

} // namespace panel
