// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/RadioImageButton.h"

#include "resources/Images.h"

namespace panel {

int RadioImageButton::glyphSheet() const { return resources::img::RadioSheet; }

} // namespace panel
