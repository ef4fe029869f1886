// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"

namespace resources {

using platform::ControlSpec;
using platform::CtrlKind;
using platform::DialogSpec;
using platform::GroupStart;
using platform::kNoId;

namespace {

DialogSpec aboutTemplate()
{
    return DialogSpec{dlg::About, "ﾊﾞｰｼﾞｮﾝ情報", 218, 83, kDialogFont, 9, {
        {kNoId, CtrlKind::Icon, "", 15, 13, 20, 20, true, 0, 128},
        {kNoId, CtrlKind::Icon, "", 175, 46, 18, 21, true, 0, 153},
        {1, CtrlKind::DefPushButton, "OK", 179, 7, 32, 14},
    }};
}

DialogSpec editorTemplate()
{
    return DialogSpec{dlg::Editor, "Pelmora", 354, 271, kDialogFont, 9, {
        {ctl::Canvas, CtrlKind::BlackFrame, "", 6, 7, 240, 174, true},
        {ctl::HScroll, CtrlKind::HScrollBar, "", 6, 181, 240, 8, false},
        {ctl::VScroll, CtrlKind::VScrollBar, "", 246, 7, 8, 174, false},
        {ctl::HiddenFrame, CtrlKind::BlackFrame, "", 10, 189, 232, 75, false},
        {ctl::PanelHeading, CtrlKind::Label, "ぷろぱてぃ", 15, 195, 41, 8, true},
        {ctl::PanelTitle, CtrlKind::Label, "はいけい", 59, 195, 67, 8, true},
        {ctl::AddText, CtrlKind::PushButton, "もじ", 255, 7, 22, 27, true},
        {ctl::AddLine, CtrlKind::PushButton, "せん", 277, 7, 22, 27, true},
        {ctl::AddRect, CtrlKind::PushButton, "しかく", 299, 7, 22, 27, true},
        {ctl::AddPicture, CtrlKind::PushButton, "ビットマップ", 322, 7, 22, 27, true},
        {ctl::AddQr, CtrlKind::PushButton, "QRコード", 255, 43, 22, 27, true},
        {ctl::Delete, CtrlKind::PushButton, "けす", 277, 43, 22, 27, true},
        {ctl::SendBack, CtrlKind::PushButton, "うしろ", 299, 43, 22, 27, true},
        {ctl::Duplicate, CtrlKind::PushButton, "ふくせい", 322, 43, 22, 27, true},
        {ctl::ZoomIn, CtrlKind::PushButton, "ズームイン", 266, 72, 22, 27, true},
        {ctl::ZoomOut, CtrlKind::PushButton, "ズームアウト", 289, 72, 22, 27, true},
        {ctl::Help, CtrlKind::PushButton, "へるぷ", 312, 72, 22, 27, true},
        {ctl::FrontSide, CtrlKind::Radio, "おもて", 257, 104, 30, 10, true, GroupStart},
        {ctl::BackSide, CtrlKind::Radio, "うら", 289, 104, 24, 10, true},
        {ctl::TurnBack, CtrlKind::PushButton, "たてよこ", 314, 102, 30, 14, true, GroupStart},
        {ctl::NewCard, CtrlKind::PushButton, "あたらしくつくる", 267, 120, 65, 19, true},
        {ctl::Open, CtrlKind::PushButton, "よみこみ...", 267, 142, 65, 19, true},
        {ctl::Save, CtrlKind::PushButton, "ほぞん...", 267, 164, 65, 19, true},
        {ctl::PaperSelect, CtrlKind::PushButton, "ようしえらび...", 267, 186, 65, 19, true},
        {ctl::Print, CtrlKind::PushButton, "いんさつ...", 267, 208, 65, 19, true},
        {ctl::Close, CtrlKind::PushButton, "とじる", 267, 230, 65, 19, true},
        {ctl::TextEdit, CtrlKind::MultiLineEdit, "", 19, 205, 131, 30, false},
        {ctl::Font, CtrlKind::PushButton, "フォント...", 19, 239, 57, 19, false},
        {ctl::Vertical, CtrlKind::CheckBox, "たてがき", 159, 194, 50, 10, false, GroupStart},
        {ctl::AlignCaption, CtrlKind::Label, "きじゅん", 159, 207, 35, 8, false},
        {ctl::AlignLeft, CtrlKind::Radio, "ひだり", 195, 207, 39, 10, false, GroupStart},
        {ctl::AlignRight, CtrlKind::Radio, "みぎ", 159, 223, 33, 10, false},
        {ctl::AlignCenter, CtrlKind::Radio, "まんなか", 195, 223, 48, 10, false},
        {ctl::Swatch, CtrlKind::SunkenFrame, "", 153, 238, 16, 18, true},
        {ctl::OtherColor, CtrlKind::PushButton, "ほかのいろ...", 174, 238, 57, 19, true},
        {ctl::Bigger, CtrlKind::PushButton, "でか", 86, 239, 22, 19, false},
        {ctl::Smaller, CtrlKind::PushButton, "ちび", 110, 239, 22, 19, false},
        {ctl::ShapeCaption, CtrlKind::Label, "かたち", 20, 219, 28, 8, false},
        {ctl::ShapeRect, CtrlKind::Radio, "しかく", 53, 219, 47, 16, false, GroupStart},
        {ctl::ShapeWhiteOut, CtrlKind::Radio, "しろぬき", 53, 241, 47, 16, false},
        {ctl::ShapeCircle, CtrlKind::Radio, "まる", 108, 219, 47, 16, false},
        {ctl::ShapeHeart, CtrlKind::Radio, "ハート", 108, 241, 47, 16, false},
        {ctl::BlurEdges, CtrlKind::CheckBox, "ふちをぼかす", 175, 220, 55, 10, false, GroupStart},
        {ctl::ReplacePicture, CtrlKind::PushButton, "さしかえ...", 174, 237, 57, 19, false, GroupStart},
        {ctl::QrContents, CtrlKind::PushButton, "なかみ...", 19, 239, 57, 19, false},
        {ctl::QrWarning, CtrlKind::Label, "", 19, 206, 215, 28, false},
        {ctl::WidthCaption, CtrlKind::Label, "ふとさ", 21, 213, 24, 8, false},
        {ctl::LineWidth, CtrlKind::NumberEdit, "", 45, 210, 27, 14, false},
        {ctl::WidthUnit, CtrlKind::Label, "ﾐﾘﾒｰﾄﾙ /10", 75, 214, 46, 8, false},
        {ctl::Pattern, CtrlKind::PushButton, "もよう...", 19, 239, 57, 19, true},
    }};
}

DialogSpec newCardTemplate()
{
    return DialogSpec{dlg::NewCard, "あたらしくつくる", 161, 125, kDialogFont, 9, {
        {1012, CtrlKind::PushButton, "サンプルのよみこみ", 23, 14, 114, 28},
        {1085, CtrlKind::PushButton, "はじめから つくる", 23, 52, 114, 28},
        {2, CtrlKind::PushButton, "キャンセル", 54, 100, 51, 18},
    }};
}

} // namespace

const DialogSpec& dialogTemplate(int id)
{
    static const DialogSpec about = aboutTemplate();
    static const DialogSpec editor = editorTemplate();
    static const DialogSpec newCard = newCardTemplate();
    static const DialogSpec empty;
    switch (id) {
    case dlg::About: return about;
    case dlg::Editor: return editor;
    case dlg::NewCard: return newCard;
    case dlg::PrintAdjust: { static const DialogSpec tmpl = printAdjustTemplate(); return tmpl; }
    case dlg::PrintProgress: { static const DialogSpec tmpl = printProgressTemplate(); return tmpl; }
    case dlg::PaperSelect: { static const DialogSpec tmpl = paperSelectTemplate(); return tmpl; }
    case dlg::FormatCreate: { static const DialogSpec tmpl = formatCreateTemplate(); return tmpl; }
    case dlg::QrCode: { static const DialogSpec tmpl = qrCodeTemplate(); return tmpl; }
    default: return empty;
    }
}

} // namespace resources
