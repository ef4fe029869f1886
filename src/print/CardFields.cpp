// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFields.h"

#include "model/ObjItemBitmap.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"

#include <QHash>

namespace print {

namespace {

// Walks text in order: literal(from, to) for plain stretches and
// field(name, from, to) for each field, `to` exclusive.
template <class Literal, class Field>
void scan(const QString& text, Literal&& literal, Field&& field)
{
    qsizetype done = 0; // handed out up to here
    qsizetype from = 0; // after the last "}}" seen
    qsizetype close = 0;
    while ((close = text.indexOf(QLatin1String("}}"), from)) >= 0) {
        const qsizetype open = close - 2 >= from ? text.lastIndexOf(QLatin1String("{{"), close - 2) : -1;
        if (open >= from) {
            const QString name = text.mid(open + 2, close - open - 2).trimmed();
            if (!name.isEmpty()) {
                if (open > done)
                    literal(done, open);
                field(name, open, close + 2);
                done = close + 2;
            }
        }
        from = close + 2;
    }
    if (done < text.size())
        literal(done, text.size());
}

void addFields(const QString& text, QStringList& names)
{
    scan(
        text, [](qsizetype, qsizetype) {},
        [&names](const QString& name, qsizetype, qsizetype) {
            if (!names.contains(name))
                names.append(name);
        });
}

} // namespace

QStringList textFields(const QString& text)
{
    QStringList names;
    addFields(text, names);
    return names;
}

QStringList cardFields(const PmrData& page)
{
    QStringList names;
    for (const auto& item : page.items()) {
        if (const auto* text = dynamic_cast<const ObjItemText*>(item.get()))
            addFields(text->textString(), names);
        else if (const auto* code = dynamic_cast<const ObjItemBitmap*>(item.get()); code && code->qr)
            for (const QString& field : code->qr->fields)
                addFields(field, names);
    }
    return names;
}

bool drawnPerCard(const ObjItem& item)
{
    if (item.isText())
        return true;
    const auto* code = dynamic_cast<const ObjItemBitmap*>(&item);
    if (!code || !code->qr)
        return false;
    QStringList names;
    for (const QString& field : code->qr->fields)
        addFields(field, names);
    return !names.isEmpty();
}

QString fillFields(const QString& text, const std::function<QString(const QString& name)>& value)
{
    QString filled;
    filled.reserve(text.size());
    scan(
        text, [&](qsizetype from, qsizetype to) { filled += QStringView(text).sliced(from, to - from); },
        [&](const QString& name, qsizetype, qsizetype) { filled += value(name); });
    return filled;
}

// ---------------------------------------------------------------- texts of a card

// Codes first, then texts: the order the card's own drawing puts them in.
template <class F>
void forEachPerCard(const PmrData& page, F&& f)
{
    for (const bool texts : {false, true})
        for (const auto& item : page.items())
            if (item->isText() == texts && drawnPerCard(*item))
                f(item.get());
}

CardTexts::CardTexts(const PmrData& page)
{
    forEachPerCard(page, [this](const ObjItem* item) { items_.push_back(item); });
}

QStringList CardTexts::strings() const
{
    QStringList texts;
    for (const ObjItem* item : items_) {
        const auto* text = dynamic_cast<const ObjItemText*>(item);
        const auto* code = dynamic_cast<const ObjItemBitmap*>(item);
        texts.append(text ? text->textString() : code && code->qr ? code->qr->payload() : QString());
    }
    return texts;
}

bool CardFiller::split(const QString& s, const QHash<QString, int>& index, std::vector<Part>& parts) const
{
    bool known = false;
    const auto literal = [&](qsizetype from, qsizetype to) {
        if (!parts.empty() && parts.back().column < 0)
            parts.back().literal += QStringView(s).sliced(from, to - from);
        else
            parts.push_back({s.mid(from, to - from), -1});
    };
    scan(s, literal, [&](const QString& name, qsizetype from, qsizetype to) {
        const auto found = index.constFind(name);
        if (found == index.cend()) {
            literal(from, to);
        } else {
            known = true;
            parts.push_back({QString(), found.value()});
        }
    });
    return known;
}

QString CardFiller::join(const std::vector<Part>& parts, const QStringList& row)
{
    QString filled;
    for (const Part& part : parts)
        filled += part.column < 0 ? part.literal : row.value(part.column);
    return filled;
}

CardFiller::CardFiller(const PmrData& page, const QStringList& columns)
{
    QHash<QString, int> index;
    for (int i = int(columns.size()) - 1; i >= 0; --i)
        index[columns[i]] = i; // the first of equal names wins
    forEachPerCard(page, [&](const ObjItem* item) {
        Item entry;
        entry.item = item;
        if (const auto* text = dynamic_cast<const ObjItemText*>(item)) {
            std::vector<Part> parts;
            if (split(text->textString(), index, parts))
                entry.parts = std::move(parts);
        } else if (const auto* code = dynamic_cast<const ObjItemBitmap*>(item); code && code->qr) {
            bool known = false;
            for (const QString& field : code->qr->fields) {
                entry.codeParts.emplace_back();
                known = split(field, index, entry.codeParts.back()) || known;
            }
            if (!known)
                entry.codeParts.clear();
        }
        hasFields_ = hasFields_ || !entry.parts.empty() || !entry.codeParts.empty();
        items_.push_back(std::move(entry));
    });
}

CardTexts CardFiller::fill(const QStringList& row) const
{
    CardTexts texts;
    texts.items_.reserve(items_.size());
    for (const Item& entry : items_) {
        std::shared_ptr<ObjItem> copy;
        if (!entry.parts.empty()) {
            auto text = std::make_shared<ObjItemText>(static_cast<const ObjItemText&>(*entry.item));
            text->SetText(join(entry.parts, row));
            copy = std::move(text);
        } else if (!entry.codeParts.empty()) {
            std::unique_ptr<ObjItem> clone = entry.item->Clone();
            auto& code = static_cast<ObjItemBitmap&>(*clone);
            for (std::size_t i = 0; i < entry.codeParts.size(); ++i)
                code.qr->fields[qsizetype(i)] = join(entry.codeParts[i], row);
            copy = std::move(clone);
        }
        texts.items_.push_back(copy ? copy.get() : entry.item);
        if (copy)
            texts.owned_.push_back(std::move(copy));
    }
    return texts;
}

} // namespace print
