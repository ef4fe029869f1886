// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class CardDocument;
class CardView;
class QWidget;

// Mouse interaction on the card, in window pixels: a press selects the topmost
// item under the pointer, a drag moves the selected item and a drag from one of
// its handles reshapes it. Each handler returns whether it handled the event.
class CardCanvas : public QObject {
    Q_OBJECT
public:
    enum DragMode { Move = 0, Handle = 1 };

    // window: the editor window the mouse events arrive at; swatch: the colour
    // swatch beside the canvas, whose press stands for the other-colour button.
    CardCanvas(CardDocument& doc, CardView& view, QWidget* window, QWidget* swatch);

    bool onLButtonDown(QPoint p);
    bool onMouseMove(QPoint p);
    bool onLButtonUp();
    bool hasCapture() const { return capture_; }
    // The mouse went elsewhere before the release: ends the drag, keeping what
    // it moved so far.
    void loseCapture();

    int dragMode() const { return dragMode_; }
    int handleIndex() const { return handleIndex_; }

Q_SIGNALS:
    void swatchPressed();

protected:
    // While dragging: notices the grab going elsewhere, and keeps the window's
    // background menu from opening.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startDrag();
    void endDrag();
    // The pointer held to the card rectangle, scrolled-out parts included.
    QPoint confined(QPoint p) const;

    CardDocument& doc_;
    CardView& view_;
    QWidget* window_;
    QWidget* swatch_;
    bool capture_ = false;
    int dragMode_ = Move;
    int handleIndex_ = 0;
    QPoint lastPointer_; // card-relative
    QPoint grabOffset_;  // the handle's position minus the pointer's at the press
    bool selectionChanged_ = false;
};
