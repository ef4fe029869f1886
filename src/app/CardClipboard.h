// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <memory>

class CardDocument;
class CardView;
class ObjItem;
class QMimeData;
class QWidget;

// Copy, cut and paste of the selected item. The clipboard carries the item in the
// document's stored form (a card holding only that item) under kMimeType, the id
// of the card it came from, and a picture of the item for other programs. A
// picture from another program pastes as a new picture item.
class CardClipboard {
public:
    static constexpr const char* kMimeType = "application/x-pelmora-item";
    static constexpr const char* kSourceType = "application/x-pelmora-card-id";

    CardClipboard(CardDocument& doc, CardView& view, QWidget* window);

    void copy();
    void cut();
    void paste();

    // The clipboard contents for an item of this card.
    static std::unique_ptr<QMimeData> mimeFor(const ObjItem& item, const QByteArray& cardId, int cardWidth, int cardHeight);
    // The item the data holds, or null when it holds none we can read.
    static std::unique_ptr<ObjItem> itemFrom(const QMimeData& data);

private:
    CardDocument& doc_;
    CardView& view_;
    QWidget* window_;
};
