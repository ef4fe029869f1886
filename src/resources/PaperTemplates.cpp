// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the paper selection dialog (157), the format dialog (165) with its
// paper sizes, and the list's right-click menu (178).
#include "resources/ControlIds.h"
#include "resources/Templates.h"

namespace resources {

using platform::CtrlKind;
using platform::DialogSpec;
using platform::kNoId;

DialogSpec paperSelectTemplate()
{
    return DialogSpec{dlg::PaperSelect, "ようしえらび", 187, 108, kDialogFont, 9, {
        {1, CtrlKind::DefPushButton, "OK", 130, 7, 50, 14},
        {2, CtrlKind::PushButton, "ｷｬﾝｾﾙ", 130, 24, 50, 14},
        {ctl::paper::List, CtrlKind::ListBox, "", 7, 7, 113, 94},
        {ctl::paper::Other, CtrlKind::PushButton, "その他...", 130, 87, 50, 14},
    }};
}

// The fields come first, so the name box has the focus when the dialog opens.
DialogSpec formatCreateTemplate()
{
    return DialogSpec{dlg::FormatCreate, "フォーマットデータをつくる", 279, 259, kDialogFont, 9, {
        {kNoId, CtrlKind::Label, "なまえ：", 7, 20, 30, 8},
        {ctl::paper::Name, CtrlKind::Edit, "", 38, 17, 99, 14},
        {kNoId, CtrlKind::Label, "ようしサイズ：", 7, 41, 60, 8},
        {ctl::paper::Preset, CtrlKind::ComboBox, "", 24, 53, 115, 82},
        {kNoId, CtrlKind::Label, "よこ：", 24, 76, 16, 8},
        {ctl::paper::PaperWidth, CtrlKind::NumberEdit, "", 40, 73, 25, 14},
        {kNoId, CtrlKind::Label, "×", 68, 76, 10, 8},
        {kNoId, CtrlKind::Label, "たて：", 79, 76, 16, 8},
        {ctl::paper::PaperHeight, CtrlKind::NumberEdit, "", 95, 73, 25, 14, true, platform::LeftText},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 123, 76, 30, 8},
        {kNoId, CtrlKind::Label, "めいし かず：", 7, 95, 60, 8},
        {kNoId, CtrlKind::Label, "よこ：", 25, 110, 16, 8},
        {ctl::paper::Columns, CtrlKind::NumberEdit, "", 41, 107, 25, 14},
        {kNoId, CtrlKind::Label, "×", 69, 110, 10, 8},
        {kNoId, CtrlKind::Label, "たて：", 80, 110, 16, 8},
        {ctl::paper::Rows, CtrlKind::NumberEdit, "", 96, 107, 25, 14},
        {kNoId, CtrlKind::Label, "（まい）", 124, 110, 30, 8},
        {kNoId, CtrlKind::Label, "めいしサイズ：", 7, 129, 60, 8},
        {kNoId, CtrlKind::Label, "よこ：", 24, 144, 16, 8},
        {ctl::paper::CardWidth, CtrlKind::NumberEdit, "", 40, 141, 25, 14},
        {kNoId, CtrlKind::Label, "×", 68, 144, 10, 8},
        {kNoId, CtrlKind::Label, "たて：", 79, 144, 16, 8},
        {ctl::paper::CardHeight, CtrlKind::NumberEdit, "", 95, 141, 25, 14},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 123, 144, 30, 8},
        {kNoId, CtrlKind::Label, "ひだり よはく：", 7, 170, 48, 8},
        {ctl::paper::LeftMargin, CtrlKind::NumberEdit, "", 56, 167, 31, 14},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 90, 170, 30, 8},
        {kNoId, CtrlKind::Label, "うえ よはく：", 7, 192, 48, 8},
        {ctl::paper::TopMargin, CtrlKind::NumberEdit, "", 56, 189, 31, 14},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 90, 192, 30, 8},
        {kNoId, CtrlKind::Label, "よこ かんかく：", 7, 214, 48, 8},
        {ctl::paper::GapX, CtrlKind::NumberEdit, "", 56, 211, 31, 14},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 90, 214, 30, 8},
        {kNoId, CtrlKind::Label, "たて かんかく：", 7, 236, 48, 8},
        {ctl::paper::GapY, CtrlKind::NumberEdit, "", 56, 233, 31, 14},
        {kNoId, CtrlKind::Label, "（ｍｍ）", 90, 236, 30, 8},
        {1, CtrlKind::DefPushButton, "OK", 222, 7, 50, 14},
        {2, CtrlKind::PushButton, "ｷｬﾝｾﾙ", 222, 24, 50, 14},
        {ctl::paper::Diagram, CtrlKind::Icon, "", 167, 108, 91, 137, true, 0, 168},
    }};
}

const std::vector<PaperPreset>& paperPresets()
{
    static const std::vector<PaperPreset> presets = {
        {"A4 縦 (210×297)", 210, 297},       {"A4 横 (297×210)", 297, 210},
        {"B5 縦 (182×257)", 182, 257},       {"B5 横 (257×182)", 257, 182},
        {"はがき 縦 (100×148)", 100, 148}, {"はがき 横 (148×100)", 148, 100},
    };
    return presets;
}

const std::vector<MenuItemSpec>& popupMenu(int id)
{
    static const std::vector<MenuItemSpec> formatMenu = {
        {ctl::paper::Edit, "編集..."},
        {0, ""},
        {ctl::paper::Delete, "削除"},
    };
    static const std::vector<MenuItemSpec> none;
    return id == menu::FormatRClick ? formatMenu : none;
}

} // namespace resources
