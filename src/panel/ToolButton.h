// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/ImageButton.h"

namespace panel {

// A momentary button showing a glyph through a mask; the caption serves only as
// the accessible name, the tool's name is its tool tip.
class ToolButton : public ImageButton {
    Q_OBJECT
public:
    using ImageButton::ImageButton;
    void setGlyph(int glyphId, int maskId);
    int glyphId() const { return glyphId_; }
    int maskId() const { return maskId_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int glyphId_ = 0;
    int maskId_ = 0;
};

} // namespace panel
