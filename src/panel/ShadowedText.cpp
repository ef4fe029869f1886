// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShadowedText.h"

#include "platform/Dc.h"

namespace panel {

QFont boldCopy(const QFont& font)
{
    QFont bold = font;
    bold.setWeight(QFont::Bold);
    bold.setKerning(false); // extents are plain sums of advances, as the dc measures them
    return bold;
}

void drawShadowedText(QPainter& painter, const QFont& font, const QString& text, const QRect& box,
                      unsigned flags, const QColor& shadow, const QColor& face)
{
    platform::Dc dc(&painter);
    dc.setFont(font);
    dc.setBkMode(platform::BkMode::Transparent);
    flags |= platform::dt::SingleLine;
    dc.setTextColor(shadow);
    dc.drawText(text, box.translated(1, 1), flags);
    dc.setTextColor(face);
    dc.drawText(text, box, flags);
}

} // namespace panel
