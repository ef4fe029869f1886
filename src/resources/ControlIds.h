// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control and command ids of the editor window (template 102).
namespace ctl {
inline constexpr int Canvas = 1033;
inline constexpr int HScroll = 1078;
inline constexpr int VScroll = 1077;
inline constexpr int HiddenFrame = 1023;
inline constexpr int PanelHeading = 1003;
inline constexpr int PanelTitle = 1045;

inline constexpr int AddText = 1009;
inline constexpr int AddLine = 1011;
inline constexpr int AddRect = 1024;
inline constexpr int AddPicture = 1007;
inline constexpr int Delete = 1025;
inline constexpr int SendBack = 1026;
inline constexpr int Duplicate = 1027;
inline constexpr int ZoomIn = 1028;
inline constexpr int ZoomOut = 1030;
inline constexpr int Help = 57670;

inline constexpr int NewCard = 1085;
inline constexpr int Open = 1008;
inline constexpr int Save = 1006;
inline constexpr int PaperSelect = 1010;
inline constexpr int Print = 1005;
inline constexpr int Close = 1032;

inline constexpr int TextEdit = 1000;
inline constexpr int Font = 1004;
inline constexpr int AlignCaption = 1021;
inline constexpr int AlignLeft = 1052;
inline constexpr int AlignRight = 1056;
inline constexpr int AlignCenter = 1055;
inline constexpr int Vertical = 1084;
inline constexpr int Swatch = 1041;
inline constexpr int OtherColor = 1034;
inline constexpr int Bigger = 1043;
inline constexpr int Smaller = 1044;
inline constexpr int ShapeCaption = 1020;
inline constexpr int ShapeRect = 1018;
inline constexpr int ShapeWhiteOut = 1019;
inline constexpr int ShapeCircle = 1016;
inline constexpr int ShapeHeart = 1017;
inline constexpr int BlurEdges = 1083;
inline constexpr int ReplacePicture = 1031;
inline constexpr int WidthCaption = 1015;
inline constexpr int LineWidth = 1029;
inline constexpr int WidthUnit = 1022;
inline constexpr int Pattern = 1013;
// QR codes: the tool, and the picture group's contents button and warning.
inline constexpr int AddQr = 1090;
inline constexpr int QrContents = 1091;
inline constexpr int QrWarning = 1092;
// The sides of the card beside the canvas, and the back's quarter turn.
inline constexpr int FrontSide = 1093;
inline constexpr int BackSide = 1094;
inline constexpr int TurnBack = 1095;

// System menu commands.
inline constexpr int SysAbout = 16;

// The print dialog's adjustment panel (template 150) and progress window (151).
namespace printing {
inline constexpr int OffsetX = 1049;
inline constexpr int OffsetY = 1050;
inline constexpr int OnlyOne = 1055;
inline constexpr int Start = 1058;
inline constexpr int Calibrate = 1059;
inline constexpr int BackOffsetX = 1150;
inline constexpr int BackOffsetY = 1151;
inline constexpr int SideFront = 1152;
inline constexpr int SideBack = 1153;
inline constexpr int SideBoth = 1154;
inline constexpr int Flip = 1155;
inline constexpr int Status = 1009;
inline constexpr int Bar = 1056;
} // namespace printing

// The paper selection dialog (157), its list's menu (178) and the format dialog (165).
namespace paper {
inline constexpr int List = 1057;
inline constexpr int Other = 1061;
inline constexpr int Edit = 32773;
inline constexpr int Delete = 32774;

inline constexpr int Name = 1063;
inline constexpr int Preset = 1062;
inline constexpr int PaperWidth = 1064;
inline constexpr int PaperHeight = 1065;
inline constexpr int Columns = 1072;
inline constexpr int Rows = 1073;
inline constexpr int CardWidth = 1066;
inline constexpr int CardHeight = 1067;
inline constexpr int LeftMargin = 1068;
inline constexpr int TopMargin = 1069;
inline constexpr int GapX = 1070;
inline constexpr int GapY = 1071;
inline constexpr int Diagram = 1074;
} // namespace paper

// The QR code dialog (190): the kinds, the fields of each, the level and the preview.
namespace qr {
inline constexpr int KindUrl = 1101;
inline constexpr int KindContact = 1102;
inline constexpr int KindText = 1103;
inline constexpr int UrlCaption = 1104;
inline constexpr int Url = 1105;
inline constexpr int Text = 1106;
inline constexpr int LevelCaption = 1107;
inline constexpr int Level = 1108;
inline constexpr int Preview = 1109;
inline constexpr int Size = 1110;
// A contact's captions and fields, in QrContent::ContactField order.
inline constexpr int ContactCaption = 1120;
inline constexpr int Contact = 1140;
} // namespace qr
} // namespace ctl
