// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LogFont.h"

#include <QFont>
#include <QGlyphRun>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <vector>

class QPainter;

namespace platform {

// Vertical text is asked for the way GDI has always been asked: a face name
// that begins with "@" ("@ＭＳ 明朝"), escapement and orientation 2700.
namespace vertical {
inline constexpr int kEscapement = 2700;
bool isVertical(const LogFont& font);
// The face without its "@".
QString plainFace(const QString& face);
// The same font turned vertical (on) or back: the "@" and the angles change,
// nothing else. Unchanged when it already is as asked.
LogFont withVertical(const LogFont& font, bool on);
} // namespace vertical

// Text set in columns: each line a column, columns right to left, characters
// top to bottom, each turned as its Unicode Vertical_Orientation says. Upright
// runs are shaped with HarfBuzz top to bottom so the font's vertical forms
// (vert, vrt2) apply; sideways runs turn 90° clockwise; one or two half-width
// digits stand upright across the column. Sizes are in the font's pixels.
class VerticalLayout {
public:
    // Where short columns sit in the block.
    enum class Place { Top, Middle, Bottom };

    VerticalLayout() = default;
    VerticalLayout(const QString& text, const QFont& font, Place place = Place::Top);

    // The block: the columns' width and the longest column's height.
    QSizeF size() const { return size_; }
    int columnCount() const { return columns_; }
    // The width of one column (the font's line height).
    qreal columnWidth() const { return pitch_; }
    // Draws the block with its top-left corner at topLeft, in the pen's colour.
    void draw(QPainter& painter, QPointF topLeft) const;

private:
    struct Piece {
        QGlyphRun run;        // positions in the piece's own frame
        QTransform toBlock;   // the piece's frame into the block
        bool strike = false;  // struck twice: its face has no bold of its own
    };
    std::vector<Piece> pieces_;
    QSizeF size_;
    qreal pitch_ = 0;
    qreal bolden_ = 0; // a bold font drawn from a face without bold is struck twice, this far apart
    int columns_ = 0;

    friend class VerticalBuilder;
};

} // namespace platform
