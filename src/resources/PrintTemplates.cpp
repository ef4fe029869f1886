// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the print dialog's adjustment panel (150) and the progress window (151).
#include "resources/Templates.h"

namespace resources {

using platform::CtrlKind;
using platform::DialogSpec;
using platform::kNoId;

DialogSpec printAdjustTemplate()
{
    return DialogSpec{dlg::PrintAdjust, "", 55, 152, kDialogFont, 9, {
        {kNoId, CtrlKind::GroupBox, "微調整", 0, 9, 44, 73},
        {kNoId, CtrlKind::Label, "X：", 4, 27, 8, 8},
        {1049, CtrlKind::Edit, "", 13, 25, 24, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "Y：", 4, 47, 8, 8},
        {1050, CtrlKind::Edit, "", 13, 45, 24, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "ﾐﾘﾒｰﾄﾙ", 13, 67, 23, 8},
        {1055, CtrlKind::CheckBox, "一つだけ", 0, 91, 42, 10},
        {kNoId, CtrlKind::Label, "はじめのいち", 0, 106, 44, 8},
        {1058, CtrlKind::Edit, "", 13, 116, 24, 14, true, platform::RightText},
        {1059, CtrlKind::PushButton, "ちょうせいシート", 0, 136, 55, 14},
    }};
}

DialogSpec printProgressTemplate()
{
    return DialogSpec{dlg::PrintProgress, "印刷中...", 166, 43, kDialogFont, 9, {
        {1009, CtrlKind::Label, "Static", 30, 9, 102, 8, true, platform::CenterText},
        // A black frame with a sunken edge; the window paints the bar inside it.
        {1056, CtrlKind::BlackFrame, "", 7, 24, 152, 12},
    }};
}

} // namespace resources
