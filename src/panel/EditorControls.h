// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DialogTemplateData.h"

class QWidget;

namespace panel {

// The editor window's own controls for template 102: the glyph, tool and textured
// buttons and the shadowed labels. Null for a control that keeps the standard widget.
QWidget* createEditorControl(const platform::ControlSpec& control, QWidget* parent);

} // namespace panel
