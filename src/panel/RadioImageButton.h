// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/ImageButton.h"

namespace panel {

// A radio glyph with a caption; the owner releases its companions.
class RadioImageButton : public ImageButton {
    Q_OBJECT
public:
    using ImageButton::ImageButton;
    int pressMode() const override { return Radio; }
    int glyphSheet() const override;
};

} // namespace panel
