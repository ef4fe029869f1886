// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/CheckImageButton.h"

#include "resources/Images.h"

namespace panel {

int CheckImageButton::glyphSheet() const { return resources::img::CheckSheet; }

} // namespace panel
