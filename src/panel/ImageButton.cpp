#include "panel/ImageButton.h"

#include <QMetaObject>
#include <QMouseEvent>

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

void ImageButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
}

} // namespace panel
