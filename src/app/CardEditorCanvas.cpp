// Mouse interaction on the canvas of the editor window.
#include "app/CardEditorDlg.h"

#include "model/ViewScale.h"
#include "resources/ControlIds.h"

#include <QMouseEvent>

#include <algorithm>

void CardEditorDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !onLButtonDown(event->position().toPoint()))
        TemplateDialog::mousePressEvent(event);
}

void CardEditorDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (!onMouseMove(event->position().toPoint()))
        TemplateDialog::mouseMoveEvent(event);
}

void CardEditorDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !onLButtonUp())
        TemplateDialog::mouseReleaseEvent(event);
}

bool CardEditorDlg::onLButtonDown(QPoint p)
{
    if (!capture_ && !view_.canvasRect().contains(p)) {
        QWidget* swatch = item(ctl::Swatch);
        if (swatch && swatch->isVisible()
            && QRect(swatch->mapTo(this, QPoint(0, 0)), swatch->size()).adjusted(1, 1, -1, -1).contains(p)) {
            onCommand(ctl::OtherColor, platform::Notify::Clicked);
            return true;
        }
        return false;
    }
    SelectionState& sel = doc_.selection();
    const platform::Rect& card = view_.cardRect();
    const QPoint pc = p - QPoint(card.left, card.top);
    sel.lastPointer = pc;
    sel.selectionChanged = 0;

    const ViewScale& scale = view_.scale();
    if (const std::optional<int> h = sel.handleAt(pc, scale)) {
        QPoint handle;
        sel.item()->GetHandle(*h, handle);
        sel.grabOffset = scale.toDevice(handle) - pc;
        sel.handleIndex = *h;
        sel.dragMode = SelectionState::Handle;
        startDrag();
        return true;
    }

    const ObjItem* before = sel.item();
    const std::optional<PmrData::Position> hit = sel.hitTest(scale.toUnits(pc), scale);
    if (hit)
        sel.select(*hit);
    else
        sel.clear();
    if (sel.item() != before)
        sel.selectionChanged = 1;
    if (hit) {
        sel.dragMode = SelectionState::Move;
        startDrag();
    } else {
        endDrag();
    }
    return true;
}

void CardEditorDlg::startDrag()
{
    capture_ = true;
    SelectionState& sel = doc_.selection();
    if (sel.selectionChanged) {
        sel.selectionChanged = 0;
        refreshPanel();
    }
}

void CardEditorDlg::endDrag()
{
    capture_ = false;
    RedrawCard();
    SelectionState& sel = doc_.selection();
    if (sel.selectionChanged) {
        sel.selectionChanged = 0;
        refreshPanel();
        doc_.setModified(1);
    }
}

// The pointer cannot leave the card while dragging: positions are held to the
// card rectangle, scrolled-out parts included.
QPoint CardEditorDlg::confined(QPoint p) const
{
    const platform::Rect& card = view_.cardRect();
    const int right = std::max(card.left, platform::addSat(card.right, -1));
    const int bottom = std::max(card.top, platform::addSat(card.bottom, -1));
    return {std::clamp(p.x(), card.left, right), std::clamp(p.y(), card.top, bottom)};
}

bool CardEditorDlg::onMouseMove(QPoint p)
{
    if (!capture_)
        return false;
    SelectionState& sel = doc_.selection();
    ObjItem* item = sel.item();
    const platform::Rect& card = view_.cardRect();
    const QPoint pc = confined(p) - QPoint(card.left, card.top);
    if (pc == sel.lastPointer || !item)
        return true;
    if (sel.dragMode == SelectionState::Move) {
        const QPoint step = view_.scale().toUnits(pc - sel.lastPointer);
        item->Offset(step.x(), step.y());
    } else {
        const QPoint target = view_.scale().toUnits(pc + sel.grabOffset);
        QPoint handle;
        if (item->GetHandle(sel.handleIndex, handle))
            item->MoveHandle(sel.handleIndex, platform::saturate(std::int64_t(target.x()) - handle.x()),
                             platform::saturate(std::int64_t(target.y()) - handle.y()));
    }
    sel.lastPointer = pc;
    RedrawCard();
    return true;
}

bool CardEditorDlg::onLButtonUp()
{
    if (!capture_)
        return false;
    endDrag();
    return true;
}
