// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace resources {

// String table ids used by the program.
namespace ids {
inline constexpr int AboutMenuItem = 101;
inline constexpr int PanelBackground = 102;
inline constexpr int ToolText = 103;
inline constexpr int ToolLine = 104;
inline constexpr int ToolRect = 105;
inline constexpr int ToolPicture = 106;
inline constexpr int SavePrompt = 107;
inline constexpr int ToolDelete = 112;
inline constexpr int ToolSendBack = 113;
inline constexpr int ToolDuplicate = 114;
inline constexpr int PictureReadError = 115;
inline constexpr int PictureWriteError = 116;
inline constexpr int ToolZoomIn = 117;
inline constexpr int ToolZoomOut = 118;
inline constexpr int FileReadOnly = 119;
inline constexpr int FileCannotOpen = 120;
inline constexpr int FormatNeedsName = 123;
inline constexpr int FormatDoesNotFit = 125;
inline constexpr int PrintSizeMismatch = 126;
inline constexpr int SampleDirMissing = 127;
inline constexpr int ToolHelp = 128;
inline constexpr int PrintStartOutside = 129; // "%1" is the format's last position
inline constexpr int PrintPaperTooSmall = 130;
// The list of a print job; "%1" is a line of the file, or the missing columns.
inline constexpr int ListEmpty = 131;
inline constexpr int ListQuoteNotClosed = 132;
inline constexpr int ListTextAfterQuote = 133;
inline constexpr int ListRowTooLong = 134;
inline constexpr int ListTooManyFields = 135;
inline constexpr int ListColumnsMissing = 136;
inline constexpr int ListTooLarge = 137;
inline constexpr int ListBadEncoding = 138;
inline constexpr int ListTooManyRows = 139;
inline constexpr int ToolQr = 145;
inline constexpr int ToolTurnBack = 170;

// File access errors, "%1" is the path.
inline constexpr int FileErrorNone = 61856;
inline constexpr int FileErrorGeneric = 61857;
inline constexpr int FileErrorNotFound = 61858;
inline constexpr int FileErrorBadPath = 61859;
inline constexpr int FileErrorTooManyOpen = 61860;
inline constexpr int FileErrorAccessDenied = 61861;
inline constexpr int FileErrorInvalidFile = 61862;
inline constexpr int FileErrorRemoveCurrent = 61863;
inline constexpr int FileErrorDirFull = 61864;
inline constexpr int FileErrorBadSeek = 61865;
inline constexpr int FileErrorHardIo = 61866;
inline constexpr int FileErrorSharing = 61867;
inline constexpr int FileErrorLocking = 61868;
inline constexpr int FileErrorDiskFull = 61869;
inline constexpr int FileErrorEndOfFile = 61870;

// Archive errors, "%1" is the path.
inline constexpr int ArchiveErrorNone = 61872;
inline constexpr int ArchiveErrorGeneric = 61873;
inline constexpr int ArchiveErrorReadOnly = 61874;
inline constexpr int ArchiveErrorEndOfFile = 61875;
inline constexpr int ArchiveErrorWriteOnly = 61876;
inline constexpr int ArchiveErrorBadIndex = 61877;
inline constexpr int ArchiveErrorBadClass = 61878;
inline constexpr int ArchiveErrorBadSchema = 61879;
} // namespace ids

// Texts of the code that have no string id.
namespace texts {
inline constexpr const char* OutOfMemory = "ﾒﾓﾘが不足しています。";
inline constexpr const char* EnterInteger = "整数を入力してください。";
inline constexpr const char* MaxChars = "%1 文字以内で入力してください。";
inline constexpr const char* PictureFailed = "文字以外の描画に失敗しました";
inline constexpr const char* CardSizeChanged = "めいしサイズが かわりました";
inline constexpr const char* PaperSettingCaption = "ようしせってい";
// Recovery of a card whose editor stopped without closing: "%1" the document's
// name, "%2" when the copy was written.
inline constexpr const char* RecoveryOffer =
    "まえに ちゃんと とじないまま おわっちゃった めいしが あるよ。\n\n「%1」  %2\n\nもとに もどす？\n"
    "（「いいえ」で すてる、「キャンセル」なら また こんど きくよ）";
inline constexpr const char* RecoveryUntitled = "なまえの ない めいし";
inline constexpr const char* RecoveryDiscard = "ほんとうに すてる？\nすてたら もう もどせないよ。";
// "%1" is where the damaged copy was put.
inline constexpr const char* RecoveryDamaged =
    "もどす めいしの ファイルが こわれてて よめなかったよ。\nべつの ばしょに よけておいたよ:\n%1";
// The alignment buttons of a vertical text, for ひだり, みぎ and まんなか.
inline constexpr const char* AlignTop = "うえ";
inline constexpr const char* AlignBottom = "した";
inline constexpr const char* AlignMiddle = "まんなか";
inline constexpr const char* TextTooLong = "もじが ながすぎるよ。はいりきらない ぶんは けしたよ";
// Printing from the editor: its failures, and the status of the progress window,
// whose count is sheet "%1" of "%2", card "%3" of "%4".
inline constexpr const char* PrintAttachFailed = "err: Attachに失敗";
inline constexpr const char* PrintCannotStart = "err: メモリが不十分または無効なポートです。";
inline constexpr const char* PrintStarting = "印刷開始･･･";
inline constexpr const char* PrintFinished = "印刷終了";
inline constexpr const char* PrintProgressCount = "%1/%2 ﾍﾟｰｼﾞ、%3/%4･･･";
// The print job of a card not yet saved.
inline constexpr const char* PrintUntitled = "Pelmora";
// The list of people in the print dialog; the counts are "%1" cards on "%2" sheets.
inline constexpr const char* ListChoose = "リストからいんさつ...";
inline constexpr const char* ListClear = "×";
inline constexpr const char* ListClearTip = "リストをやめる";
inline constexpr const char* ListFilter = "リスト (*.csv)|*.csv|すべてのファイル (*.*)|*.*||";
inline constexpr const char* ListCounts = "%1まい・%2シート";
// One column a list lacks, "%1" its name.
inline constexpr const char* ListColumnName = "「%1」";
// The help window's title; "%1" is the program's name.
inline constexpr const char* HelpTitle = "%1 - へるぷ";
// Printing the backs: a card without one, a back of another size, and turning
// the sheets by hand between the fronts and the backs.
inline constexpr const char* PrintNoBack = "この めいしには うらが ないよ。おもてだけ いんさつしてね";
inline constexpr const char* PrintBackSizeMismatch = "うらの おおきさが ようしの めいしと ちがうよ。はみでた ところは きれるけど いい？";
inline constexpr const char* TurnTitle = "うらがえしてね";
inline constexpr const char* TurnMessage = "おもてが いんさつできたよ。\n"
                                           "いんさつした かみを とりだして、ぜんぶ うらがえして トレイに もどしてね。\n"
                                           "あかい せんの へんから さきに はいるように いれてね。";
inline constexpr const char* TurnPrint = "いんさつする";
inline constexpr const char* TurnCancel = "やめる";
inline constexpr const char* TurnPrinted = "いんさつした かみ";
inline constexpr const char* TurnTurned = "うらがえした かみ";
inline constexpr const char* TurnFirst = "さき";
// The backs of a job turned by hand printed into a file: the file's name with
// this before its suffix.
inline constexpr const char* PrintBackFileSuffix = "-うら";
// The sides of a sheet, in the preview and on the calibration sheet; the back's
// label says how the sheet was turned.
inline constexpr const char* SideFront = "おもて";
inline constexpr const char* SideBack = "うら";
inline constexpr const char* CalibrationBackLongEdge = "うら（ちょうへんとじ）";
inline constexpr const char* CalibrationBackShortEdge = "うら（たんぺんとじ）";
inline constexpr const char* CalibrationBackByHand = "うら（しゅどうりょうめん）";
} // namespace texts

// The text of a string id; empty for an unknown id.
QString loadString(int id);

// loadString(id) with "%1" replaced by the argument.
QString formatString(int id, const QString& arg);

} // namespace resources
