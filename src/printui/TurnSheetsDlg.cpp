// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/TurnSheetsDlg.h"

#include "resources/Strings.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <algorithm>

namespace print {

namespace {

TurnSheetsDlg::Provider& providerSlot()
{
    static TurnSheetsDlg::Provider provider;
    return provider;
}

const QColor kMark(220, 40, 40);

// A filled triangle pointing along `to` from `tip`.
void arrowHead(QPainter& p, QPointF tip, QPointF to, qreal size)
{
    const QLineF back(tip, tip - to);
    QLineF a = back, b = back;
    a.setLength(size);
    b.setLength(size);
    a.setAngle(back.angle() + 28);
    b.setAngle(back.angle() - 28);
    p.drawPolygon(QPolygonF{tip, a.p2(), b.p2()});
}

} // namespace

TurnPicture::TurnPicture(QSize paperMm, QWidget* parent)
    : QWidget(parent), paper_(paperMm.isEmpty() ? QSizeF(210, 297) : QSizeF(paperMm)),
      mirror_(mirrorFor(Flip::Manual, paperMm.isEmpty() ? QSize(210, 297) : paperMm))
{
    setMinimumSize(sizeHint());
}

QRectF TurnPicture::sheetRect(bool turned) const
{
    // Two sheets with room for the turn between them and labels above and below.
    const qreal line = fontMetrics().height();
    const qreal roomW = width() * 0.34, roomH = std::max<qreal>(10, height() - 2 * line - 16);
    const qreal scale = std::min(roomW / paper_.width(), roomH / paper_.height());
    const QSizeF size = paper_ * scale;
    const qreal cx = turned ? width() * 0.78 : width() * 0.22;
    return QRectF(QPointF(cx - size.width() / 2, line + 10 + (roomH - size.height()) / 2), size);
}

void TurnPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const QRectF front = sheetRect(false), back = sheetRect(true);
    const qreal mark = std::max<qreal>(4, std::min(front.width(), front.height()) / 7);

    // The printed side: cards on it, the mark in its top left corner.
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawRect(front);
    p.setBrush(QColor(200, 200, 200));
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 2; ++column)
            p.drawRect(QRectF(front.left() + front.width() * (0.1 + column * 0.42), front.top() + front.height() * (0.08 + row * 0.18),
                              front.width() * 0.38, front.height() * 0.15));
    p.setPen(Qt::NoPen);
    p.setBrush(kMark);
    p.drawEllipse(QRectF(front.topLeft() + QPointF(2, 2), QSizeF(mark, mark)));

    // The turned sheet shows its blank side; the mark lies where the turn puts it.
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawRect(back);
    const QPointF corner = mirror_ == Mirror::LeftRight ? QPointF(back.right() - 2 - mark, back.top() + 2)
                                                        : QPointF(back.left() + 2, back.bottom() - 2 - mark);
    p.setPen(QPen(kMark, 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(corner, QSizeF(mark, mark)));

    // The turn: over the vertical edge or over the horizontal one.
    p.setPen(QPen(ink, 2));
    const qreal midX = (front.right() + back.left()) / 2, span = (back.left() - front.right()) / 2 - 6;
    const qreal midY = front.center().y();
    QPainterPath turn;
    const bool sideways = mirror_ == Mirror::LeftRight;
    turn.moveTo(midX - span, midY);
    turn.cubicTo(midX - span / 2, midY + (sideways ? -span : span), midX + span / 2, midY + (sideways ? -span : span),
                 midX + span, midY);
    p.drawPath(turn);
    p.setBrush(ink);
    arrowHead(p, QPointF(midX + span, midY), QPointF(span / 2, sideways ? span : -span), 9);

    // The edge that goes in first: the top of the turned sheet.
    p.setPen(QPen(kMark, 3));
    p.drawLine(back.topLeft(), back.topRight());
    p.setPen(QPen(ink, 2));
    p.drawLine(QPointF(back.center().x(), back.top() - 2), QPointF(back.center().x(), back.top() - 8));
    p.setBrush(ink);
    arrowHead(p, QPointF(back.center().x(), back.top() - 10), QPointF(0, -1), 6);

    p.setPen(ink);
    const qreal line = fontMetrics().height();
    p.drawText(QRectF(front.left() - 20, front.bottom() + 4, front.width() + 40, line), Qt::AlignCenter,
               QString::fromUtf8(resources::texts::TurnPrinted));
    p.drawText(QRectF(back.left() - 20, back.bottom() + 4, back.width() + 40, line), Qt::AlignCenter,
               QString::fromUtf8(resources::texts::TurnTurned));
    p.drawText(QRectF(back.right() - 10, back.top() - line - 4, width() - back.right(), line), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(resources::texts::TurnFirst));
}

TurnSheetsDlg::TurnSheetsDlg(QSize paperMm, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(resources::texts::TurnTitle));
    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(QString::fromUtf8(resources::texts::TurnMessage), this);
    message_->setTextFormat(Qt::PlainText);
    layout->addWidget(message_);
    picture_ = new TurnPicture(paperMm, this);
    layout->addWidget(picture_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    print_ = new QPushButton(QString::fromUtf8(resources::texts::TurnPrint), this);
    cancel_ = new QPushButton(QString::fromUtf8(resources::texts::TurnCancel), this);
    print_->setDefault(true);
    buttons->addWidget(print_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(print_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int TurnSheetsDlg::run()
{
    if (const Provider& p = providerSlot())
        return p(*this);
    return exec();
}

TurnSheetsDlg::Provider TurnSheetsDlg::setProvider(Provider provider)
{
    return std::exchange(providerSlot(), std::move(provider));
}

} // namespace print
