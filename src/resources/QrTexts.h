// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts of the QR code dialog, its panel controls and the document's QR records.
namespace resources::texts::qr {

inline constexpr const char* TooLong =
    "ながすぎて QRコードに はいりきらないよ。\nもじを へらすか、あやまりなおしを ひくく してね";
inline constexpr const char* Empty = "なにか いれてね";
// Under the preview: "%1" modules a side, or a code too long.
inline constexpr const char* SizeCaption = "%1×%1 ます";
inline constexpr const char* SizeTooLong = "はいりきらないよ";
inline constexpr const char* TooLight =
    "その いろは うすすぎて QRコードが よめなく なっちゃうよ。\nもっと こい いろに してね";
// The panel's warnings, one a line.
inline constexpr const char* SmallModules = "! ちいさすぎて よめないかも。もっと おおきく してね";
inline constexpr const char* QuietZoneCovered = "! まわりの しろい ところに ほかのものが かさなってるよ";
// A document whose QR records could not all be read, and saving over it.
inline constexpr const char* ExtrasDamaged =
    "この めいしの QRコードの なかみが ぜんぶは よめなかったよ。\n"
    "めいし そのものは だいじょうぶ。よめなかった QRコードは ただの えに なってるよ";
inline constexpr const char* ExtrasDamagedSave =
    "この ファイルには よめなかった QRコードの なかみが あったよ。\n"
    "うわがき すると その なかみは もう もどらないけど、ほぞんする？";

} // namespace resources::texts::qr
