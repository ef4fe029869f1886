// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/FormatDiagram.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace print {

namespace {

// Room around the sheet for the paper's own dimension lines.
constexpr double kLeftRoom = 16;
constexpr double kTopRoom = 16;
constexpr double kOtherRoom = 6;
// Cards beyond these counts would be specks; the grid stops there.
constexpr int kMaxDrawn = 60;

const QColor kMarkColor(0xE0, 0x00, 0x00);
const QColor kCardColor(0xC8, 0xDC, 0xF0);
const QColor kOffSheetColor(0xF0, 0xC8, 0x78);

// Points far outside the widget are pulled in, so huge numbers draw as lines
// running off the picture.
QPointF pullIn(QPointF at)
{
    constexpr double kFar = 4 * FormatDiagram::kHeight;
    return {std::clamp(at.x(), -kFar, kFar), std::clamp(at.y(), -kFar, kFar)};
}

// A dimension line from a to b with an arrowhead at each end.
void dimensionLine(QPainter& p, QPointF a, QPointF b)
{
    a = pullIn(a);
    b = pullIn(b);
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (len < 1)
        return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const double head = std::min(4.0, len / 2);
    for (const auto& [tip, dir] : {std::pair{a, u}, std::pair{b, -u}}) {
        QPainterPath arrow(tip);
        arrow.lineTo(tip + dir * head + n * head * 0.6);
        arrow.lineTo(tip + dir * head - n * head * 0.6);
        arrow.closeSubpath();
        p.fillPath(arrow, kMarkColor);
    }
}

// An extension line across the dimension line, as long as the card beside it,
// so that even a dimension of 0 shows.
void tick(QPainter& p, QPointF at, bool vertical, double half)
{
    at = pullIn(at);
    half = std::clamp(half, 3.0, double(FormatDiagram::kHeight));
    const QPointF d = vertical ? QPointF(0, half) : QPointF(half, 0);
    p.drawLine(at - d, at + d);
}

} // namespace

FormatDiagram::FormatDiagram(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormatDiagram::setFormat(const CardFormat& f)
{
    if (f == format_)
        return;
    format_ = f;
    update();
}

void FormatDiagram::setMark(Mark mark)
{
    if (mark == mark_)
        return;
    mark_ = mark;
    update();
}

QRectF FormatDiagram::sheetRect() const
{
    const CardFormat& f = format_;
    if (f.paperWidth <= 0 || f.paperHeight <= 0)
        return {};
    const double roomW = kWidth - kLeftRoom - kOtherRoom;
    const double roomH = kHeight - kTopRoom - kOtherRoom;
    const double scale = std::min(roomW / f.paperWidth, roomH / f.paperHeight);
    const double w = f.paperWidth * scale;
    const double h = f.paperHeight * scale;
    return {kLeftRoom + (roomW - w) / 2, kTopRoom + (roomH - h) / 2, w, h};
}

void FormatDiagram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    p.setClipRect(rect().adjusted(1, 1, -1, -1)); // cards off the sheet stop inside the frame

    const QRectF sheet = sheetRect();
    if (sheet.isEmpty())
        return;
    const CardFormat& f = format_;
    const double mm = sheet.width() / f.paperWidth;
    p.setRenderHint(QPainter::Antialiasing);

    // Sheet, then the cards; the parts of cards off the sheet show in another colour.
    p.fillRect(sheet, Qt::white);
    const int cols = std::clamp(f.columns, 0, kMaxDrawn);
    const int rows = std::clamp(f.rows, 0, kMaxDrawn);
    const double cw = std::max(f.cardWidth, 0) * mm;
    const double ch = std::max(f.cardHeight, 0) * mm;
    const auto cardAt = [&](int col, int row) {
        return QRectF(sheet.left() + (double(f.leftMargin) + col * (double(f.cardWidth) + f.gapX)) * mm,
                      sheet.top() + (double(f.topMargin) + row * (double(f.cardHeight) + f.gapY)) * mm, cw, ch);
    };
    const QRectF view = QRectF(rect()).adjusted(-2, -2, 2, 2);
    const auto visible = [&](const QRectF& card) { return view.intersects(card.adjusted(-1, -1, 1, 1)); };
    p.setPen(QPen(QColor(0x40, 0x60, 0x90), 0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QRectF card = cardAt(c, r);
            if (!visible(card))
                continue;
            p.fillRect(card, kOffSheetColor);
            p.fillRect(card & sheet, kCardColor);
            p.drawRect(card);
        }
    }
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheet);

    if (mark_ == Mark::None)
        return;
    p.setPen(QPen(kMarkColor, 1.5));
    const QRectF first = cardAt(0, 0);
    const double lineY = sheet.top() - kTopRoom / 2;
    const double lineX = sheet.left() - kLeftRoom / 2;
    switch (mark_) {
    case Mark::PaperWidth:
        p.drawLine(sheet.topLeft(), sheet.topRight());
        dimensionLine(p, {sheet.left(), lineY}, {sheet.right(), lineY});
        break;
    case Mark::PaperHeight:
        p.drawLine(sheet.topLeft(), sheet.bottomLeft());
        dimensionLine(p, {lineX, sheet.top()}, {lineX, sheet.bottom()});
        break;
    case Mark::CardWidth:
        p.drawRect(first & view);
        dimensionLine(p, {first.left(), first.center().y()}, {first.right(), first.center().y()});
        break;
    case Mark::CardHeight:
        p.drawRect(first & view);
        dimensionLine(p, {first.center().x(), first.top()}, {first.center().x(), first.bottom()});
        break;
    case Mark::Counts:
        p.setBrush(Qt::NoBrush);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (visible(cardAt(c, r)))
                    p.drawRect(cardAt(c, r) & view);
        break;
    case Mark::LeftMargin: {
        const QPointF a(sheet.left(), first.center().y());
        const QPointF b(first.left(), first.center().y());
        dimensionLine(p, a, b);
        tick(p, a, true, ch / 2);
        tick(p, b, true, ch / 2);
        break;
    }
    case Mark::TopMargin: {
        const QPointF a(first.center().x(), sheet.top());
        const QPointF b(first.center().x(), first.top());
        dimensionLine(p, a, b);
        tick(p, a, false, cw / 2);
        tick(p, b, false, cw / 2);
        break;
    }
    case Mark::GapX: {
        // Between the first two columns; with one column, where a second would start.
        const QPointF a(first.right(), first.center().y());
        const QPointF b(cardAt(1, 0).left(), first.center().y());
        dimensionLine(p, a, b);
        tick(p, a, true, ch / 2);
        tick(p, b, true, ch / 2);
        break;
    }
    case Mark::GapY: {
        const QPointF a(first.center().x(), first.bottom());
        const QPointF b(first.center().x(), cardAt(0, 1).top());
        dimensionLine(p, a, b);
        tick(p, a, false, cw / 2);
        tick(p, b, false, cw / 2);
        break;
    }
    case Mark::None:
        break;
    }
}

} // namespace print
