// SPDX-License-Identifier: GPL-3.0-or-later
// Template of the QR code dialog (190): the three kinds share the field area on
// the left, each showing its own fields; the preview and the level on the right.
#include "resources/ControlIds.h"
#include "resources/Templates.h"

#include <array>

namespace resources {

using platform::CtrlKind;
using platform::DialogSpec;
using platform::GroupStart;

DialogSpec qrCodeTemplate()
{
    DialogSpec dialog{dlg::QrCode, "QRコード", 300, 197, kDialogFont, 9, {
        {ctl::qr::KindUrl, CtrlKind::Radio, "ウェブアドレス", 7, 7, 62, 10, true, GroupStart},
        {ctl::qr::KindContact, CtrlKind::Radio, "れんらくさき", 72, 7, 56, 10},
        {ctl::qr::KindText, CtrlKind::Radio, "じゆうな もじ", 131, 7, 60, 10},
        {ctl::qr::UrlCaption, CtrlKind::Label, "アドレス：", 7, 25, 42, 8, false},
        {ctl::qr::Url, CtrlKind::Edit, "", 50, 23, 140, 12, false},
        {ctl::qr::Text, CtrlKind::MultiLineEdit, "", 7, 23, 183, 150, false},
    }};
    // A contact's fields, one a row, in QrContent::ContactField order.
    static constexpr std::array<const char*, 10> kCaptions = {
        "なまえ：", "よみがな：", "かいしゃ：", "やくしょく：", "でんわ：",
        "けいたい：", "ファクス：", "メール：", "ウェブ：", "じゅうしょ："};
    for (int i = 0; i < int(kCaptions.size()); ++i) {
        const int y = 23 + 15 * i;
        dialog.controls.push_back({ctl::qr::ContactCaption + i, CtrlKind::Label, kCaptions[std::size_t(i)], 7, y + 2, 42, 8, false});
        dialog.controls.push_back({ctl::qr::Contact + i, CtrlKind::Edit, "", 50, y, 140, 12, false});
    }
    const platform::ControlSpec right[] = {
        {ctl::qr::Preview, CtrlKind::SunkenFrame, "", 200, 7, 93, 93},
        {ctl::qr::Size, CtrlKind::Label, "", 200, 103, 93, 8, true, platform::CenterText},
        {ctl::qr::LevelCaption, CtrlKind::Label, "あやまりなおし：", 200, 118, 93, 8},
        {ctl::qr::Level, CtrlKind::ComboBox, "", 200, 129, 93, 60},
        {1, CtrlKind::DefPushButton, "OK", 200, 176, 44, 14},
        {2, CtrlKind::PushButton, "ｷｬﾝｾﾙ", 249, 176, 44, 14},
    };
    dialog.controls.insert(dialog.controls.end(), std::begin(right), std::end(right));
    return dialog;
}

} // namespace resources
