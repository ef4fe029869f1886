// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ViewScale.h"
#include "platform/Rect.h"

#include <QImage>
#include <QRect>

class ObjItem;
class PmrData;
class QScrollBar;
class QWidget;

namespace platform {
class Dc;
}

// Scroll requests, numbered as the platform's scroll bar notifications.
enum ScrollCode {
    SbLineUp = 0,
    SbLineDown = 1,
    SbPageUp = 2,
    SbPageDown = 3,
    SbThumbPosition = 4,
    SbThumbTrack = 5,
    SbTop = 6,
    SbBottom = 7,
    SbEndScroll = 8,
};

// The canvas of the editor window: places the card (the card rectangle, in window
// pixels), zooms, scrolls, paints the window and composes the card off screen.
class CardView {
public:
    CardView(QWidget* window, QWidget* canvasFrame, QScrollBar* hBar, QScrollBar* vBar, const PmrData& page);

    // The side of the card shown; the next layoutCard places it.
    void setPage(const PmrData& page) { page_ = &page; }

    const platform::Rect& cardRect() const { return card_; }
    // The card in item units from (0, 0): its pixel size at the present zoom.
    platform::Rect cardUnits() const;
    // The canvas frame's client area in window pixels, and the same shrunk by 1.
    QRect canvasFrameRect() const;
    QRect canvasRect() const;

    // Centres the card on the canvas and sets the scroll bars; with fit, first
    // finds the scale at which the card fits with about 20 pixels to spare.
    void layoutCard(bool fit);
    // The scale the card is shown at.
    const ViewScale& scale() const { return scale_; }
    ViewScale& scale() { return scale_; }
    void setScale(const ViewScale& scale) { scale_ = scale; }
    // One zoom step up or down; false when already at the end.
    bool zoomStep(bool up);
    // A scroll bar request; returns how far the card moved (window pixels).
    int scroll(Qt::Orientation orientation, int code, int position = 0);

    // Where the window's canvas lies on a device with `ratio` device pixels per
    // window pixel: the scale the card is composed at (ratio times the view's)
    // and, in device pixels, the card, the canvas frame and the canvas. At ratio
    // 1 they are the window's own.
    struct DeviceLayout {
        qreal ratio = 1;
        int scale = 72;
        platform::Rect card;
        platform::Rect frame;
        platform::Rect canvas;
    };
    DeviceLayout deviceLayout(qreal ratio) const;

    // The visible part of the card composed off screen at `ratio` device pixels
    // per window pixel, with the marks of the selected item; its place in device
    // pixels goes to *visible. Null when no part of the card is visible.
    QImage composeCard(const ObjItem* selected, QRect* visible = nullptr, qreal ratio = 1) const;
    // composeCard at dc's device ratio copied into dc, clipped to the canvas.
    void redrawCard(platform::Dc& dc, const ObjItem* selected) const;
    // The window's paint: texture, canvas, shadow and card.
    void paint(platform::Dc& dc, const QRect& paintRect, const ObjItem* selected) const;

    // The selection marks of an item at dc's scale, drawn inverting what lies
    // under them, at a size that looks the same at every device ratio.
    static void drawSelectionMarks(platform::Dc& dc, const ObjItem& item, qreal ratio = 1);

private:
    // The card's blit and the shadow under it, in device pixels.
    void paintCard(platform::Dc& dc, const ObjItem* selected, bool withCanvas) const;
    void layoutBar(QScrollBar* bar, int canvasStart, int canvasExtent, int cardExtent, int& cardStart, int& cardEnd);

    QWidget* window_;
    QWidget* frame_;
    QScrollBar* hBar_;
    QScrollBar* vBar_;
    const PmrData* page_;
    platform::Rect card_;
    ViewScale scale_;
};
