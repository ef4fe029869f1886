// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the print dialog's adjustment panel (150) and the progress window (151).
#include "resources/ControlIds.h"
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
        {ctl::printing::OffsetX, CtrlKind::Edit, "", 13, 25, 24, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "Y：", 4, 47, 8, 8},
        {ctl::printing::OffsetY, CtrlKind::Edit, "", 13, 45, 24, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "ﾐﾘﾒｰﾄﾙ", 13, 67, 23, 8},
        {ctl::printing::OnlyOne, CtrlKind::CheckBox, "一つだけ", 0, 91, 42, 10},
        {kNoId, CtrlKind::Label, "はじめのいち", 0, 106, 44, 8},
        {ctl::printing::Start, CtrlKind::Edit, "", 13, 116, 24, 14, true, platform::RightText},
        {ctl::printing::Calibrate, CtrlKind::PushButton, "ちょうせいシート", 0, 136, 55, 14},
    }};
}

DialogSpec printProgressTemplate()
{
    return DialogSpec{dlg::PrintProgress, "印刷中...", 166, 43, kDialogFont, 9, {
        {ctl::printing::Status, CtrlKind::Label, "Static", 30, 9, 102, 8, true, platform::CenterText},
        // A black frame with a sunken edge; the window paints the bar inside it.
        {ctl::printing::Bar, CtrlKind::BlackFrame, "", 7, 24, 152, 12},
    }};
}

} // namespace resources
