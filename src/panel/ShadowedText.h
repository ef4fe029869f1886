// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace panel {

// A bold copy (weight 700) of a control's font, for the captions of the editor's controls.
QFont boldCopy(const QFont& font);

// Draws one line of text twice with a transparent background, like DrawText with
// single line and the given dt:: alignment flags, clipped to each box: first in
// shadow at box moved one pixel right and down, then in face at box.
void drawShadowedText(QPainter& painter, const QFont& font, const QString& text, const QRect& box,
                      unsigned flags, const QColor& shadow, const QColor& face);

} // namespace panel
