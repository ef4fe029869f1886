#pragma once

#include "platform/DialogTemplate.h"

namespace resources {

namespace dlg {
inline constexpr int About = 100;
inline constexpr int Editor = 102;
inline constexpr int NewCard = 187;
} // namespace dlg

// The dialog template of an id; an empty template for an unknown id.
const platform::DialogSpec& dialogTemplate(int id);

} // namespace resources
