// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DialogTemplateData.h"

#include <vector>

namespace resources {

// The font every dialog of the program is laid out in.
inline constexpr const char* kDialogFont = "ＭＳ Ｐゴシック";

namespace dlg {
inline constexpr int About = 100;
inline constexpr int Editor = 102;
inline constexpr int NewCard = 187;
inline constexpr int PrintAdjust = 150;
inline constexpr int PrintProgress = 151;
inline constexpr int PaperSelect = 157;
inline constexpr int FormatCreate = 165;
inline constexpr int QrCode = 190;
} // namespace dlg

namespace menu {
inline constexpr int FormatRClick = 178; // edit and delete of a card format
} // namespace menu

// One item of a popup menu; id 0 is a separator.
struct MenuItemSpec {
    int id = 0;
    const char* text = ""; // UTF-8
};

// The print dialog's fine-adjustment panel and the print progress window.
platform::DialogSpec printAdjustTemplate();
platform::DialogSpec printProgressTemplate();

// The paper selection dialog and the card format dialog.
platform::DialogSpec paperSelectTemplate();
platform::DialogSpec formatCreateTemplate();

// The QR code dialog.
platform::DialogSpec qrCodeTemplate();

// The paper sizes the card format dialog offers, in list order.
struct PaperPreset {
    const char* text; // UTF-8
    int width;        // millimetres
    int height;
};
const std::vector<PaperPreset>& paperPresets();

// The items of a popup menu; empty for an unknown id.
const std::vector<MenuItemSpec>& popupMenu(int id);

// The dialog template of an id; an empty template for an unknown id.
const platform::DialogSpec& dialogTemplate(int id);

} // namespace resources
