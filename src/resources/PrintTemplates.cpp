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
    // The offsets of the fronts and, beside them, of the backs; below them the
    // sides printed and how the sheets are turned.
    return DialogSpec{dlg::PrintAdjust, "", 92, 222, kDialogFont, 9, {
        {kNoId, CtrlKind::GroupBox, "微調整", 0, 9, 92, 73},
        {kNoId, CtrlKind::Label, "おもて", 13, 20, 32, 8, true, platform::CenterText},
        {kNoId, CtrlKind::Label, "うら", 52, 20, 32, 8, true, platform::CenterText},
        {kNoId, CtrlKind::Label, "X：", 4, 32, 8, 8},
        {ctl::printing::OffsetX, CtrlKind::Edit, "", 13, 30, 32, 14, true, platform::RightText},
        {ctl::printing::BackOffsetX, CtrlKind::Edit, "", 52, 30, 32, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "Y：", 4, 50, 8, 8},
        {ctl::printing::OffsetY, CtrlKind::Edit, "", 13, 48, 32, 14, true, platform::RightText},
        {ctl::printing::BackOffsetY, CtrlKind::Edit, "", 52, 48, 32, 14, true, platform::RightText},
        {kNoId, CtrlKind::Label, "ﾐﾘﾒｰﾄﾙ", 13, 67, 32, 8},
        {kNoId, CtrlKind::GroupBox, "いんさつする めん", 0, 88, 92, 68},
        {ctl::printing::SideFront, CtrlKind::Radio, "おもてだけ", 6, 100, 80, 10, true, platform::GroupStart},
        {ctl::printing::SideBack, CtrlKind::Radio, "うらだけ", 6, 112, 80, 10},
        {ctl::printing::SideBoth, CtrlKind::Radio, "りょうめん", 6, 124, 80, 10},
        {ctl::printing::Flip, CtrlKind::ComboBox, "", 6, 137, 80, 60},
        {ctl::printing::OnlyOne, CtrlKind::CheckBox, "一つだけ", 0, 162, 42, 10},
        {kNoId, CtrlKind::Label, "はじめのいち", 0, 177, 44, 8},
        {ctl::printing::Start, CtrlKind::Edit, "", 13, 187, 24, 14, true, platform::RightText},
        {ctl::printing::Calibrate, CtrlKind::PushButton, "ちょうせいシート", 0, 207, 55, 14},
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
