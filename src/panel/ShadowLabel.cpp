// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShadowLabel.h"

#include "panel/ShadowedText.h"
#include "platform/Dc.h"

#include <QPainter>

namespace panel {

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

// No background: the window's texture shows through.
void ShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawShadowedText(painter, boldCopy(font()), text(), rect(), platform::dt::Left | platform::dt::Top,
                     QColor(0x80, 0x80, 0x80), Qt::black);
}

} // namespace panel
