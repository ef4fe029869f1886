// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace platform {

// Kinds of controls a dialog template can hold.
enum class CtrlKind {
    PushButton,
    DefPushButton,
    Label,
    BlackFrame,
    SunkenFrame,
    HScrollBar,
    VScrollBar,
    Edit,          // single line
    MultiLineEdit, // accepts Enter, scrolls both ways
    NumberEdit,    // digits only, right-aligned
    Radio,
    CheckBox,
    Icon,          // a static picture; `resource` names the image
    GroupBox,
    ListBox,
    ComboBox,
};

enum CtrlFlag : unsigned {
    GroupStart = 1u << 0,
    ReadOnly = 1u << 1,
    CenterText = 1u << 2,
    RightText = 1u << 3,
    LeftText = 1u << 4, // a number edit aligned left
};

inline constexpr int kNoId = -1;

// One control of a template; the rectangle is in dialog units.
struct ControlSpec {
    int id = kNoId;
    CtrlKind kind = CtrlKind::Label;
    const char* text = ""; // UTF-8
    int x = 0, y = 0, w = 0, h = 0;
    bool visible = true;
    unsigned flags = 0;
    int resource = 0;
};

struct DialogSpec {
    int id = 0;
    const char* title = ""; // UTF-8
    int width = 0, height = 0; // dialog units
    const char* fontFace = "";
    int pointSize = 9;
    std::vector<ControlSpec> controls;
};

} // namespace platform
