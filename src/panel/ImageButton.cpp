// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ImageButton.h"

#include "panel/ShadowedText.h"
#include "platform/Dc.h"
#include "resources/Images.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

namespace panel {

ImageButton::ImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
}

void ImageButton::setPressed(int pressed)
{
    pressed_ = pressed ? 1 : 0;
    setDown(pressed_ != 0);
    update();
}

void ImageButton::restoreHighlight()
{
    if (isDown() != (pressed_ != 0))
        setDown(pressed_ != 0);
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    holding_ = true;
    if (pressMode() == Momentary)
        setPressed(1);
    event->accept();
}

// Movement while held is not tracked: a momentary button stays highlighted.
void ImageButton::mouseMoveEvent(QMouseEvent* event)
{
    if (holding_)
        event->accept();
    else
        QPushButton::mouseMoveEvent(event);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (!holding_)
        return;
    holding_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    switch (pressMode()) {
    case Momentary: setPressed(0); break;
    case Toggle:
        if (!inside)
            return;
        setPressed(!pressed_);
        break;
    case Radio:
        if (!inside)
            return;
        setPressed(1);
        break;
    default: break;
    }
    if (inside)
        QMetaObject::invokeMethod(this, [this] { Q_EMIT clicked(pressed_ != 0); }, Qt::QueuedConnection);
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    QPushButton::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        restoreHighlight();
}

void ImageButton::keyReleaseEvent(QKeyEvent* event)
{
    QPushButton::keyReleaseEvent(event);
    const bool activates = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (activates && !event->isAutoRepeat())
        restoreHighlight();
}

void ImageButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    restoreHighlight();
}

void ImageButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        restoreHighlight();
}

QImage ImageButton::throughMask(const QImage& picture, const QRect& source, const QImage& mask,
                                QPoint maskTopLeft)
{
    const QRect maskSource(maskTopLeft, source.size());
    if (source.isEmpty() || !picture.rect().contains(source) || !mask.rect().contains(maskSource))
        return {};
    const QImage pic = picture.copy(source).convertToFormat(QImage::Format_RGB32);
    const QImage m = mask.copy(maskSource).convertToFormat(QImage::Format_RGB32);
    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(pic.constScanLine(y));
        const auto* k = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            o[x] = (k[x] & 0xFFFFFF) == 0xFFFFFF ? 0 : (p[x] | 0xFF000000);
    }
    return out;
}

void ImageButton::drawPixelArt(QPainter& painter, QPoint topLeft, const QImage& image)
{
    if (image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(topLeft, image);
    painter.restore();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect caption = rect();
    const QImage sheet = glyphSheet() ? resources::bitmap(glyphSheet()) : QImage();
    if (!sheet.isNull()) {
        const int fw = sheet.width() / resources::img::SheetFrames;
        const int fh = sheet.height() / 2;
        const int frame = (isEnabled() ? 0 : 2) + (pressed_ ? 1 : 0);
        const QImage glyph = throughMask(sheet, QRect(frame * fw, 0, fw, fh), sheet, QPoint(frame * fw, fh));
        drawPixelArt(painter, QPoint(0, (height() - fh) / 2), glyph);
        caption.setLeft(caption.left() + fw / 2);
    }
    const QColor face = isEnabled() ? QColor(Qt::black) : QColor(0xC0, 0xC0, 0xC0);
    drawShadowedText(painter, boldCopy(font()), text(), caption,
                     platform::dt::VCenter | platform::dt::Left, QColor(0x80, 0x80, 0x80), face);
}

} // namespace panel
