// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Rect.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The per-pixel work of picture items: shape outlines, gradient masks and the
// blends of blurred edges and shadows, on plain images.
namespace pictureeffects {

// Picture shapes, as stored in items.
enum Shape { ShapeRect = 0, ShapeEllipse = 1, ShapeHeart = 2 };

// The heart's 13 Bézier points (start, then control, control, end four times)
// scaled into box; the template is 94 × 90.
std::array<QPoint, 13> heartOutline(const platform::Rect& box);

// The grey of ring k (0 = outermost) of a mask with n rings.
int ringLevel(int k, int n);

// A gradient mask of w × h pixels: white (255) outside the shape; inside, rings
// one pixel wide, grey (n − 1) × 256 ÷ n at the edge darkening to black at depth
// n − 1 and beyond. Ring k is the shape filled in the box shrunk by k on every
// side (rectangles and ellipses leave their last column and row, as with the
// null pen); rings stop where that box is empty. Any other shape leaves it white.
// Only the rows and columns asked for are ever computed.
class GradientMask {
public:
    struct Run {
        int from; // first column
        int to;   // past the last column
        int level;
    };

    GradientMask(std::int64_t width, std::int64_t height, int rings, int shape);

    // Calls f(y, runs) for each row of area (mask coordinates), top to bottom;
    // the runs cover area's columns from left to right.
    void forEachRow(const QRect& area, const std::function<void(int, std::span<const Run>)>& f) const;
    // area of the mask as greys (Format_RGB32).
    QImage image(const QRect& area) const;

private:
    struct Span {
        int ring;
        int from;
        int to;
    };
    void heartSpans(const QRect& area, std::vector<std::vector<Span>>& rows) const;
    void rowSpans(int y, const QRect& area, std::vector<Span>& out) const;

    std::int64_t w_;
    std::int64_t h_;
    int shape_;
    int rings_; // rings that exist: n limited by the size
    std::vector<int> levels_;
};

// The blurred edge over area of the mask: each target pixel from `to` on becomes
// the picture's pixel (picture holds area's pixels from its corner), blended
// toward the target's own by the mask's level; white leaves the target as it is.
void blendBlurredEdge(QImage& target, QPoint to, const QImage& picture, const GradientMask& mask,
                      const QRect& area);

// The shadow over area of the mask: black where the mask is black, the target's
// pixel blended over the mask's grey by that grey elsewhere.
void blendShadow(QImage& target, QPoint to, const GradientMask& mask, const QRect& area);

} // namespace pictureeffects
