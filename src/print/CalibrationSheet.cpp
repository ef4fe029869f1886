// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CalibrationSheet.h"

#include "platform/Dc.h"
#include "platform/GdiMath.h"
#include "print/SheetLayout.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QFont>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <set>
#include <utility>

namespace print {

namespace {

void line(platform::Dc& dc, int x0, int y0, int x1, int y1)
{
    dc.moveTo(x0, y0);
    dc.lineTo(x1, y1);
    // A one-pixel line leaves its last pixel.
    dc.lineTo(x1 + (x1 > x0 ? 1 : x1 < x0 ? -1 : 0), y1 + (y1 > y0 ? 1 : y1 < y0 ? -1 : 0));
}

// Half the length of the tick at mm millimetres from the corner, in tenths.
int halfTick(int mm)
{
    if (mm == 0)
        return 25;
    return mm % 5 == 0 ? 18 : 7;
}

void usePen(platform::Dc& dc, int ppi, int fontTenths)
{
    dc.setPen(platform::Pen::solid(Qt::black));
    dc.setBrush(platform::Brush::null());
    dc.setBkMode(platform::BkMode::Transparent);
    dc.setTextColor(Qt::black);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(std::max(1, platform::tenthMmToPixels(fontTenths, ppi)));
    dc.setFont(font);
}

// The middle of the card among count (from first, step apart, size long) that
// lies nearest to centre; centre itself without cards.
std::int64_t middleNearest(std::int64_t first, std::int64_t step, int size, int count, std::int64_t centre)
{
    std::int64_t best = centre;
    for (int i = 0; i < count; ++i) {
        const std::int64_t mid = first + i * step + size / 2;
        if (i == 0 || std::abs(mid - centre) < std::abs(best - centre))
            best = mid;
    }
    return best;
}

} // namespace

void CalibrationSheet::drawRulers(platform::Dc& dc, int x, int y, int ppi) const
{
    for (int mm = -kRulerReachMm; mm <= kRulerReachMm; ++mm) {
        const int at = platform::tenthMmToPixels(mm * 10, ppi);
        const int half = platform::tenthMmToPixels(halfTick(mm), ppi);
        line(dc, x + at, y - half, x + at, y + half); // across the vertical cut
        line(dc, x - half, y + at, x + half, y + at); // across the horizontal cut
        // Tick 0 is the longest and goes unnumbered: its number would sit on the other ruler.
        if (mm == 0 || mm % 5 != 0)
            continue;
        const QString label = QString::asprintf("%+d", mm);
        const int gap = platform::tenthMmToPixels(22, ppi);
        const int w = platform::tenthMmToPixels(40, ppi);
        const int h = platform::tenthMmToPixels(20, ppi);
        // Horizontal numbers below the ticks, vertical ones right of them.
        dc.drawText(label, QRect(x + at - w / 2, y + gap, w, h), platform::dt::Center | platform::dt::SingleLine);
        dc.drawText(label, QRect(x + gap, y + at - h / 2, w, h), platform::dt::Left | platform::dt::VCenter
                                                                    | platform::dt::SingleLine);
    }
}

void CalibrationSheet::draw(platform::Dc& dc, int ppi) const
{
    drawFront(dc, ppi, QString());
}

void CalibrationSheet::drawFront(platform::Dc& dc, int ppi, const QString& label) const
{
    if (ppi <= 0)
        return;
    // The fine adjustment stays out: the sheet measures the printer itself.
    drawSheet(dc, SheetLayout::make(format_, ppi, SheetLayout::offsetPixels(0, 0, ppi, dc.physicalOffset())), ppi,
              label);
}

void CalibrationSheet::drawBack(platform::Dc& dc, int ppi, Flip flip) const
{
    if (ppi <= 0)
        return;
    const Mirror mirror = mirrorFor(flip, paperOf(format_));
    const QPoint offset = SheetLayout::offsetPixels(0, 0, ppi, dc.physicalOffset());
    drawSheet(dc, SheetLayout::makeBack(format_, ppi, offset, mirror), ppi, backLabel(flip));
}

QString CalibrationSheet::backLabel(Flip flip)
{
    namespace texts = resources::texts;
    switch (flip) {
    case Flip::LongEdge:
        return QString::fromUtf8(texts::CalibrationBackLongEdge);
    case Flip::ShortEdge:
        return QString::fromUtf8(texts::CalibrationBackShortEdge);
    case Flip::Manual:
        break;
    }
    return QString::fromUtf8(texts::CalibrationBackByHand);
}

QString CalibrationSheet::frontLabel()
{
    return QString::fromUtf8(resources::texts::SideFront);
}

void CalibrationSheet::drawLabel(platform::Dc& dc, const SheetLayout& l, int ppi, const QString& label) const
{
    const QSize paperMm = paperOf(format_);
    const QPoint paper = -dc.physicalOffset(); // the paper's corner on the surface
    const std::int64_t paperBottom = paper.y() + std::int64_t(platform::mmToPixels(paperMm.height(), ppi));
    const std::int64_t centreX = paper.x() + platform::mmToPixels(paperMm.width(), ppi) / 2;
    const std::int64_t centreY = (paper.y() + paperBottom) / 2;
    const int h = platform::tenthMmToPixels(40, ppi);
    const int w = platform::tenthMmToPixels(800, ppi);

    // The margin above the cards, as far as it shows, or the one below; with
    // neither tall enough, the middle of a card, where nothing else is drawn.
    const std::int64_t last = std::max(l.rows - 1, 0);
    const std::int64_t top = l.hasCards() ? std::min(l.y(0), l.y(last)) : centreY;
    const std::int64_t bottom = l.hasCards() ? std::max(l.y(0), l.y(last)) + l.cardHeight : centreY;
    const std::int64_t shownTop = std::max<std::int64_t>(paper.y(), 0);
    const std::int64_t shownBottom = std::min<std::int64_t>(paperBottom, dc.size().height());
    const std::int64_t above = std::min(top, shownBottom) - shownTop;
    const std::int64_t below = shownBottom - std::max(bottom, shownTop);
    const std::int64_t middle = above >= h   ? (shownTop + std::min(top, shownBottom)) / 2
                                : below >= h ? (std::max(bottom, shownTop) + shownBottom) / 2
                                             : middleNearest(l.top, l.stepY, l.cardHeight, l.rows, centreY);
    const std::int64_t x = middleNearest(l.left, l.stepX, l.cardWidth, l.columns, centreX);

    usePen(dc, ppi, 30);
    dc.drawText(label, QRect(int(x - w / 2), int(middle - h / 2), w, h), platform::dt::Center | platform::dt::SingleLine);
}

void CalibrationSheet::drawSheet(platform::Dc& dc, const SheetLayout& l, int ppi, const QString& label) const
{
    const platform::DcSave saved(dc);
    usePen(dc, ppi, 16);

    // Only positions that meet the surface, each shared corner once.
    const int reach = platform::tenthMmToPixels(kRulerReachMm * 10 + 50, ppi);
    const auto [c0, c1] = l.columnsWithin(-reach, std::int64_t(dc.size().width()) + reach);
    const auto [r0, r1] = l.rowsWithin(-reach, std::int64_t(dc.size().height()) + reach);
    std::set<std::pair<qint64, qint64>> corners;
    for (int i = r0; i < r1; ++i) {
        for (int j = c0; j < c1; ++j) {
            const qint64 x = l.x(j), y = l.y(i);
            // Edges on the card's first and first-beyond pixel, where the rulers' zero lies.
            dc.rectangle(int(x), int(y), int(x + l.cardWidth + 1), int(y + l.cardHeight + 1));
            for (const auto& c : {std::pair{x, y}, std::pair{x + l.cardWidth, y}, std::pair{x, y + l.cardHeight},
                                  std::pair{x + l.cardWidth, y + l.cardHeight}}) {
                if (!corners.insert(c).second)
                    continue;
                drawRulers(dc, int(c.first), int(c.second), ppi);
            }
        }
    }
    if (!label.isEmpty())
        drawLabel(dc, l, ppi, label);
}

namespace {

// One page on target for each of pages, at ppi or the target's own resolution.
bool printPages(SheetTarget& target, int pixelsPerInch,
                std::initializer_list<std::function<void(platform::Dc&, int)>> pages)
{
    const int ppi = pixelsPerInch > 0 ? pixelsPerInch : target.pixelsPerInch();
    if (ppi <= 0 || !target.beginDocument())
        return false;
    int index = 0;
    for (const auto& drawPage : pages) {
        platform::Dc* dc = target.beginSheet(index++);
        if (!dc) {
            target.abortDocument();
            return false;
        }
        dc->setScale(ppi);
        dc->setPrinting(true);
        drawPage(*dc, ppi);
        target.endSheet();
    }
    target.endDocument();
    return true;
}

} // namespace

bool CalibrationSheet::print(SheetTarget& target, int pixelsPerInch) const
{
    return printPages(target, pixelsPerInch, {[this](platform::Dc& dc, int ppi) { draw(dc, ppi); }});
}

bool CalibrationSheet::printBothSides(SheetTarget& target, Flip flip, int pixelsPerInch) const
{
    return printPages(target, pixelsPerInch,
                      {[this](platform::Dc& dc, int ppi) { drawFront(dc, ppi, frontLabel()); },
                       [this, flip](platform::Dc& dc, int ppi) { drawBack(dc, ppi, flip); }});
}

bool CalibrationSheet::printSide(SheetTarget& target, bool back, Flip flip, int pixelsPerInch) const
{
    if (back)
        return printPages(target, pixelsPerInch, {[this, flip](platform::Dc& dc, int ppi) { drawBack(dc, ppi, flip); }});
    return printPages(target, pixelsPerInch, {[this](platform::Dc& dc, int ppi) { drawFront(dc, ppi, frontLabel()); }});
}

} // namespace print
