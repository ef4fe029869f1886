#pragma once

#include "platform/DialogTemplateData.h"

namespace resources {

namespace dlg {
inline constexpr int About = 100;
inline constexpr int Editor = 102;
inline constexpr int NewCard = 187;
inline constexpr int PrintAdjust = 150;
inline constexpr int PrintProgress = 151;
} // namespace dlg

// The print dialog's fine-adjustment panel and the print progress window.
platform::DialogSpec printAdjustTemplate();
platform::DialogSpec printProgressTemplate();

// The dialog template of an id; an empty template for an unknown id.
const platform::DialogSpec& dialogTemplate(int id);

} // namespace resources
