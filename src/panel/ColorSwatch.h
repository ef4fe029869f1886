// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

#include <cstdint>

namespace panel {

// The sunken swatch beside "ほかのいろ...": a frame filled with one colour.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    // A COLORREF (0x00BBGGRR).
    void setColor(std::uint32_t color);
    std::uint32_t color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t color_ = 0xFFFFFF;
};

} // namespace panel
