// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CalibrationSheet.h"

#include "platform/Dc.h"
#include "platform/GdiMath.h"
#include "print/SheetLayout.h"
#include "print/SheetTarget.h"

#include <QFont>

#include <algorithm>
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
    if (ppi <= 0)
        return;
    // The fine adjustment stays out: the sheet measures the printer itself.
    const SheetLayout l = SheetLayout::make(format_, ppi, SheetLayout::offsetPixels(0, 0, ppi, dc.physicalOffset()));
    const platform::DcSave saved(dc);
    dc.setPen(platform::Pen::solid(Qt::black));
    dc.setBrush(platform::Brush::null());
    dc.setBkMode(platform::BkMode::Transparent);
    dc.setTextColor(Qt::black);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(std::max(1, platform::tenthMmToPixels(16, ppi)));
    dc.setFont(font);

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
}

bool CalibrationSheet::print(SheetTarget& target, int pixelsPerInch) const
{
    const int ppi = pixelsPerInch > 0 ? pixelsPerInch : target.pixelsPerInch();
    if (ppi <= 0 || !target.beginDocument())
        return false;
    platform::Dc* dc = target.beginSheet(0);
    if (!dc) {
        target.abortDocument();
        return false;
    }
    dc->setScale(ppi);
    dc->setPrinting(true);
    draw(*dc, ppi);
    target.endSheet();
    target.endDocument();
    return true;
}

} // namespace print
