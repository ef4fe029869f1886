// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class ObjItem;
class ObjItemText;
class PmrData;

namespace print {

// Fields in the texts of a card: {{name}}. A field closes at the first "}}" and
// opens at the last "{{" before it; spaces around the name are not part of it.
// A "{{" that never closes, and "{{}}" or "{{ }}" (no name), stay as they are.

// The field names of a text, in order of first appearance, each once.
QStringList textFields(const QString& text);
// The field names of a card's text items and QR codes, in list order, each once.
QStringList cardFields(const PmrData& page);
// Whether an item is drawn at each card position rather than in the card's
// picture made once per job: texts, and QR codes with fields.
bool drawnPerCard(const ObjItem& item);
// The text with every field replaced by value(name).
QString fillFields(const QString& text, const std::function<QString(const QString& name)>& value);

// The items one card position draws (drawnPerCard), QR codes first, then texts,
// each in list order: the page's own items, or copies carrying filled texts and
// codes. Cheap to copy; the page must outlive it.
class CardTexts {
public:
    CardTexts() = default;
    // The page's own text items.
    explicit CardTexts(const PmrData& page);

    const std::vector<const ObjItem*>& items() const { return items_; }
    // The text of every text item (a code's payload), as Unicode.
    QStringList strings() const;

private:
    friend class CardFiller;
    std::vector<const ObjItem*> items_;
    std::vector<std::shared_ptr<const ObjItem>> owned_;
};

// A card's text items made ready to be filled with the rows of a list.
class CardFiller {
public:
    // columns: the list's column names; a field whose name is not among them is
    // left as it is written.
    CardFiller(const PmrData& page, const QStringList& columns);

    bool hasFields() const { return hasFields_; }
    // The texts with the fields filled from row (values by column; missing ones
    // are empty). A filled item is a copy of the card's, measured again as the
    // editor measures a text it is given; it keeps its anchor and alignment.
    CardTexts fill(const QStringList& row) const;

private:
    struct Part {
        QString literal;
        int column = -1; // -1: the literal
    };
    struct Item {
        const ObjItem* item = nullptr;
        std::vector<Part> parts; // empty: drawn as it is
        // A code's fields, each as its parts; empty: drawn as it is.
        std::vector<std::vector<Part>> codeParts;
    };
    // A text's parts; false when no field of it names a column.
    bool split(const QString& text, const QHash<QString, int>& index, std::vector<Part>& parts) const;
    static QString join(const std::vector<Part>& parts, const QStringList& row);
    std::vector<Item> items_;
    bool hasFields_ = false;
};

} // namespace print
