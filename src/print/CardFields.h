// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
// The field names of a card's text items, in list order, each once.
QStringList cardFields(const PmrData& page);
// The text with every field replaced by value(name).
QString fillFields(const QString& text, const std::function<QString(const QString& name)>& value);

// The text items one card position draws, in list order: the page's own items,
// or copies carrying filled texts. Cheap to copy; the page must outlive it.
class CardTexts {
public:
    CardTexts() = default;
    // The page's own text items.
    explicit CardTexts(const PmrData& page);

    const std::vector<const ObjItem*>& items() const { return items_; }
    // The text of every text item, as Unicode.
    QStringList strings() const;

private:
    friend class CardFiller;
    std::vector<const ObjItem*> items_;
    std::vector<std::shared_ptr<const ObjItemText>> owned_;
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
    };
    std::vector<Item> items_;
    bool hasFields_ = false;
};

} // namespace print
