// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetLayout.h"

#include "platform/GdiMath.h"
#include "platform/Rect.h"

#include <algorithm>

namespace print {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Indices i in [0, count) with start + i·step + size > from and start + i·step < to.
std::pair<int, int> within(std::int64_t start, std::int64_t step, int size, int count,
                           std::int64_t from, std::int64_t to)
{
    if (count <= 0 || size <= 0 || from >= to)
        return {0, 0};
    if (step == 0) {
        const bool meets = start + size > from && start < to;
        return meets ? std::pair{0, 1} : std::pair{0, 0};
    }
    // The index range as exclusive bounds: lo < i < hi.
    std::int64_t lo = 0;
    std::int64_t hi = 0;
    if (step > 0) {
        lo = floorDiv(from - size - start, step);     // start + i·step > from - size
        hi = -floorDiv(-(to - start), step);          // start + i·step < to: i < ceil((to - start) / step)
    } else {
        lo = floorDiv(to - start, step);              // i·step < to - start, step < 0
        hi = -floorDiv(-(from - size - start), step); // i·step > from - size - start
    }
    const std::int64_t first = std::max<std::int64_t>(lo + 1, 0);
    const std::int64_t end = std::min<std::int64_t>(hi, count);
    if (first >= end)
        return {0, 0};
    return {int(first), int(end)};
}

} // namespace

QPoint SheetLayout::offsetPixels(int adjustXmm, int adjustYmm, int pixelsPerInch, QPoint physicalOffset)
{
    return {platform::saturate(std::int64_t(platform::mmToPixels(adjustXmm, pixelsPerInch)) - physicalOffset.x()),
            platform::saturate(std::int64_t(platform::mmToPixels(adjustYmm, pixelsPerInch)) - physicalOffset.y())};
}

SheetLayout SheetLayout::make(const CardFormat& f, int ppi, QPoint offset)
{
    SheetLayout l;
    l.cardWidth = platform::mmToPixels(f.cardWidth, ppi);
    l.cardHeight = platform::mmToPixels(f.cardHeight, ppi);
    l.left = std::int64_t(platform::mmToPixels(f.leftMargin, ppi)) + offset.x();
    l.top = std::int64_t(platform::mmToPixels(f.topMargin, ppi)) + offset.y();
    l.stepX = std::int64_t(platform::mmToPixels(f.gapX, ppi)) + l.cardWidth;
    l.stepY = std::int64_t(l.cardHeight) + platform::mmToPixels(f.gapY, ppi);
    l.columns = f.columns;
    l.rows = f.rows;
    return l;
}

SheetLayout SheetLayout::makeBack(const CardFormat& f, int ppi, QPoint offset, Mirror mirror)
{
    SheetLayout l = make(f, ppi, {});
    const QSize paper = paperOf(f);
    if (mirror == Mirror::LeftRight) {
        l.left = std::int64_t(platform::mmToPixels(paper.width(), ppi)) - l.left - l.cardWidth;
        l.stepX = -l.stepX;
    } else {
        l.top = std::int64_t(platform::mmToPixels(paper.height(), ppi)) - l.top - l.cardHeight;
        l.stepY = -l.stepY;
    }
    l.left += offset.x();
    l.top += offset.y();
    return l;
}

Mirror mirrorFor(Flip flip, QSize paperMm)
{
    const bool landscape = paperMm.width() > paperMm.height();
    const bool overLongEdge = flip != Flip::ShortEdge;
    return overLongEdge != landscape ? Mirror::LeftRight : Mirror::TopBottom;
}

QSize paperOf(const CardFormat& f)
{
    return f.paperWidth > 0 && f.paperHeight > 0 ? QSize(f.paperWidth, f.paperHeight) : QSize(210, 297);
}

Turn backTurn(QSize frontMm, QSize backMm, Mirror mirror)
{
    const auto shape = [](QSize s) { return s.width() > s.height() ? 1 : s.width() < s.height() ? -1 : 0; };
    if (shape(frontMm) == 0 || shape(backMm) == 0 || shape(frontMm) == shape(backMm))
        return Turn::None;
    return mirror == Mirror::LeftRight ? Turn::Clockwise : Turn::Anticlockwise;
}

std::pair<int, int> SheetLayout::columnsWithin(std::int64_t from, std::int64_t to) const
{
    return within(left, stepX, cardWidth, columns, from, to);
}

std::pair<int, int> SheetLayout::rowsWithin(std::int64_t from, std::int64_t to) const
{
    return within(top, stepY, cardHeight, rows, from, to);
}

} // namespace print
