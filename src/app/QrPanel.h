// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CardDocument.h"
#include "ui/DialogTemplate.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

class ObjItem;
class ObjItemBitmap;

// The property panel's controls for a QR code, a picture item with content:
// "なかみ..." and the warning line take the place of the picture's shape, edge,
// white-out and replace controls, and the colour controls show. The warnings
// follow every change of the card while a code is selected.
class QrPanel : public QObject {
    Q_OBJECT
public:
    QrPanel(ui::TemplateDialog& window, CardDocument& doc);

    // The item as a code, or null when it is none.
    static const ObjItemBitmap* code(const ObjItem* item);
    // Shows the code's controls for code, hiding the picture's; null hides them.
    void show(const ObjItemBitmap* code);
    // The dialog on the selected code's content; OK changes it in one step.
    void editContents();
    // The selected code takes color, or a message says why it does not.
    bool setColor(std::uint32_t color);

    // What may keep the code at pos from being read: modules under 0.25 mm, and
    // items drawn above it over its quiet zone. One line each.
    static QStringList warnings(const PmrData& page, PmrData::Position pos);

private:
    void updateWarnings();

    ui::TemplateDialog& window_;
    CardDocument& doc_;
    bool shown_ = false;
};
