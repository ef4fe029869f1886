// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPushButton>

namespace panel {

// A push button that keeps its own pressed state and its own click logic: momentary,
// toggle or radio. A click inside queues the clicked signal after the pressed state
// has changed; a release outside sends nothing. The space bar keeps the standard
// button processing (the command is sent, the pressed state does not change).
//
// Drawn as a glyph from its sheet (chosen by enabled state and pressed) and a bold
// caption with a grey shadow, over whatever lies behind it.
class ImageButton : public QPushButton {
    Q_OBJECT
public:
    enum PressMode { Momentary = 0, Toggle = 1, Radio = 2 };

    explicit ImageButton(const QString& text, QWidget* parent = nullptr);

    // Non-zero presses; also sets the highlight (the button's down state).
    void setPressed(int pressed);
    int isPressed() const { return pressed_; }

    virtual int pressMode() const { return Momentary; }
    // The glyph sheet's bitmap id, or 0 for none.
    virtual int glyphSheet() const { return 0; }

protected:
    // The picture's pixels in source where the mask (same size, at maskTopLeft)
    // is black, transparent where it is white: drawn, the same pixels as a masked
    // blit (target AND mask, then OR the picture where the mask is black).
    static QImage throughMask(const QImage& picture, const QRect& source, const QImage& mask,
                              QPoint maskTopLeft);
    // Draws pixel art one image pixel per logical pixel; on a high-density screen
    // each pixel becomes a crisp block (nearest neighbour, no smoothing).
    static void drawPixelArt(QPainter& painter, QPoint topLeft, const QImage& image);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The standard button processing clears the down state after a key press,
    // on Escape, focus loss and disabling; the highlight follows pressed_ again.
    void restoreHighlight();

    int pressed_ = 0;
    bool holding_ = false;
};

} // namespace panel
