// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardCanvas.h"

#include "app/CardCommand.h"
#include "app/CardView.h"
#include "model/ViewScale.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

CardCanvas::CardCanvas(CardDocument& doc, CardView& view, QWidget* window, QWidget* swatch)
    : doc_(doc), view_(view), window_(window), swatch_(swatch)
{
}

bool CardCanvas::onLButtonDown(QPoint p)
{
    if (!capture_ && !view_.canvasRect().contains(p)) {
        if (swatch_ && swatch_->isVisible()
            && QRect(swatch_->mapTo(window_, QPoint(0, 0)), swatch_->size()).adjusted(1, 1, -1, -1).contains(p)) {
            Q_EMIT swatchPressed();
            return true;
        }
        return false;
    }
    // A press while dragging (the second of a double click) closes what the drag moved.
    doc_.endItemEdit();
    SelectionState& sel = doc_.selection();
    const platform::Rect& card = view_.cardRect();
    const QPoint pc = p - QPoint(card.left, card.top);
    lastPointer_ = pc;
    selectionChanged_ = false;

    const ViewScale& scale = view_.scale();
    if (const std::optional<int> h = sel.handleAt(pc, scale)) {
        QPoint handle;
        sel.item()->GetHandle(*h, handle);
        grabOffset_ = scale.toDevice(handle) - pc;
        handleIndex_ = *h;
        dragMode_ = Handle;
        startDrag();
        return true;
    }

    const ObjItem* before = sel.item();
    const std::optional<PmrData::Position> hit = sel.hitTest(scale.toUnits(pc), scale);
    sel.set(hit);
    selectionChanged_ = sel.item() != before;
    if (hit) {
        dragMode_ = Move;
        startDrag();
    } else {
        endDrag();
    }
    return true;
}

// The window shows the marks of a newly selected item at the first step or the release.
void CardCanvas::startDrag()
{
    capture_ = true;
    qApp->installEventFilter(this);
    if (selectionChanged_) {
        selectionChanged_ = false;
        doc_.notify(CardDocument::SelectionChanged);
    }
}

// What the drag moved is one change; the card is redrawn either way, for the
// marks at least. A press that drops the selection counts as a change of the card.
void CardCanvas::endDrag()
{
    capture_ = false;
    qApp->removeEventFilter(this);
    const bool moved = doc_.endItemEdit();
    if (selectionChanged_) {
        selectionChanged_ = false;
        doc_.touch(CardDocument::SelectionChanged);
    } else if (!moved) {
        window_->repaint(view_.canvasRect());
    }
}

QPoint CardCanvas::confined(QPoint p) const
{
    const platform::Rect& card = view_.cardRect();
    const int right = std::max(card.left, platform::addSat(card.right, -1));
    const int bottom = std::max(card.top, platform::addSat(card.bottom, -1));
    return {std::clamp(p.x(), card.left, right), std::clamp(p.y(), card.top, bottom)};
}

// Each step is converted to item units on its own, so the rounding of the steps adds up.
bool CardCanvas::onMouseMove(QPoint p)
{
    if (!capture_)
        return false;
    ObjItem* item = doc_.selection().item();
    const platform::Rect& card = view_.cardRect();
    const QPoint pc = confined(p) - QPoint(card.left, card.top);
    if (pc == lastPointer_ || !item)
        return true;
    doc_.beginItemEdit();
    const ViewScale& scale = view_.scale();
    if (dragMode_ == Move) {
        const QPoint step = scale.toUnits(pc - lastPointer_);
        item->Offset(step.x(), step.y());
    } else {
        const QPoint target = scale.toUnits(pc + grabOffset_);
        QPoint handle;
        if (item->GetHandle(handleIndex_, handle))
            item->MoveHandle(handleIndex_, platform::saturate(std::int64_t(target.x()) - handle.x()),
                             platform::saturate(std::int64_t(target.y()) - handle.y()));
    }
    lastPointer_ = pc;
    doc_.notify(CardDocument::ItemChanged);
    return true;
}

void CardCanvas::loseCapture()
{
    if (capture_)
        endDrag();
}

// Qt tells nothing when the implicit grab of the press is lost, so look for its
// signs: a mouse event elsewhere, or a press or move here that shows the release
// went unseen; the window deactivated or hidden; a popup opening.
bool CardCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (!capture_ || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool pressAgain = event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton;
        if (widget != window_ || pressAgain || !(mouse->buttons() & Qt::LeftButton))
            loseCapture();
        return false;
    }
    case QEvent::ContextMenu:
        return widget == window_;
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        if (widget == window_)
            loseCapture();
        return false;
    case QEvent::Show:
        if (widget->windowType() == Qt::Popup)
            loseCapture();
        return false;
    default:
        return false;
    }
}

bool CardCanvas::onLButtonUp()
{
    if (!capture_)
        return false;
    endDrag();
    return true;
}
