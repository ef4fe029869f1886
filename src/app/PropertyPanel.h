// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/QrPanel.h"
#include "model/ItemField.h"
#include "ui/DialogTemplate.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

class CardCommand;
class CardDocument;
class ObjItem;
class ObjItemBitmap;
class ObjItemLine;
class ObjItemText;

namespace panel {
class ImageButton;
}

// The property panel under the canvas: one group of controls per kind of thing,
// filled from the selected item, or from the background when nothing is selected.
// Every control changes the card at once through the document.
class PropertyPanel : public QObject {
    Q_OBJECT
public:
    // The kind shown: the selected item's (ObjItem::Kind), or this one without a selection.
    static constexpr int kBackground = 5;

    PropertyPanel(ui::TemplateDialog& window, CardDocument& doc);

    // Shows the group of the selection and fills it, even when the group stays.
    void refresh();
    int kind() const { return kind_; }
    // Counts the refills: edits made within one visit to a group are one step to undo.
    std::uint64_t visit() const { return visit_; }
    // Makes a panel control visible or invisible.
    void showControl(int id, bool visible);
    // With setColor, first takes color as the current colour; then shows the
    // current colour in the swatch.
    void paintSwatch(bool setColor, std::uint32_t color);
    std::uint32_t currentColor() const { return currentColor_; }

    // The panel's commands; false for a control that is not the panel's.
    bool onCommand(int id, ui::Notify code);

private:
    void showGroup(int kind, bool show, ObjItem* item);
    void fillText(const ObjItemText& text);
    void fillLine(const ObjItemLine& line);
    void fillPicture(const ObjItemBitmap& picture);

    void setText();
    void chooseFont();
    void stepSize(int direction);
    void setAlign(int align);
    void setVertical();
    void nameAlignments(bool vertical);
    void setLineWidth();
    void blurEdges();
    void setShape(int button);
    void chooseReplacement();
    void choosePattern();
    void otherColor();

    // The selected item when it is of the kind, else null.
    ObjItem* selected(int kind) const;
    const ObjItemText* selectedText() const;
    // Applies a change made here; one that changed nothing still counts: the card
    // is redrawn and marked modified.
    void commit(std::unique_ptr<CardCommand> command);
    // Sets fields of the selected item through its field table. Typing (merge)
    // joins the step of the same visit.
    void editSelected(std::vector<FieldEdit> edits, bool merge = false);
    void showAlign(int align);
    void setPressed(int id, bool pressed);
    bool isPressed(int id) const;
    void enable(int id, bool enabled);

    ui::TemplateDialog& window_;
    CardDocument& doc_;
    int kind_ = kBackground;
    std::uint32_t currentColor_ = 0xFFFFFF;
    std::uint64_t visit_ = 1;
    QrPanel qr_;
};
