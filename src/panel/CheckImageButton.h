// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/ImageButton.h"

namespace panel {

// A check glyph with a caption that toggles on each click.
class CheckImageButton : public ImageButton {
    Q_OBJECT
public:
    using ImageButton::ImageButton;
    int pressMode() const override { return Toggle; }
    int glyphSheet() const override;
};

} // namespace panel
