// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace panel {

// A push button of textured cloth with a white caption; standard click logic.
// The cloth is laid from the button's screen position and moves one pixel down
// and right while the button is down; displays of 256 colours or fewer get plain
// dark red instead.
class TextureButton : public QPushButton {
    Q_OBJECT
public:
    explicit TextureButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Bits per pixel of the display the button is on.
    virtual int displayDepth() const { return depth(); }
};

} // namespace panel
