#pragma once

#include <QPushButton>

namespace panel {

// A push button that keeps its own pressed state and its own click logic: momentary,
// toggle or radio. A click inside queues the clicked signal after the pressed state
// has changed; a release outside sends nothing. The space bar keeps the standard
// button processing (the command is sent, the pressed state does not change).
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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int pressed_ = 0;
    bool holding_ = false;
};

} // namespace panel
