// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFields.h"

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
    for (const auto& item : page.items())
        if (const auto* text = dynamic_cast<const ObjItemText*>(item.get()))
            addFields(text->textString(), names);
    return names;
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

CardTexts::CardTexts(const PmrData& page)
{
    for (const auto& item : page.items())
        if (item->isText())
            items_.push_back(item.get());
}

QStringList CardTexts::strings() const
{
    QStringList texts;
    for (const ObjItem* item : items_) {
        const auto* text = dynamic_cast<const ObjItemText*>(item);
        texts.append(text ? text->textString() : QString());
    }
    return texts;
}

CardFiller::CardFiller(const PmrData& page, const QStringList& columns)
{
    QHash<QString, int> index;
    for (int i = int(columns.size()) - 1; i >= 0; --i)
        index[columns[i]] = i; // the first of equal names wins
    for (const auto& item : page.items()) {
        if (!item->isText())
            continue;
        Item entry;
        entry.item = item.get();
        if (const auto* text = dynamic_cast<const ObjItemText*>(item.get())) {
            const QString s = text->textString();
            bool known = false;
            std::vector<Part> parts;
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
            if (known) {
                entry.parts = std::move(parts);
                hasFields_ = true;
            }
        }
        items_.push_back(std::move(entry));
    }
}

CardTexts CardFiller::fill(const QStringList& row) const
{
    CardTexts texts;
    texts.items_.reserve(items_.size());
    for (const Item& entry : items_) {
        if (entry.parts.empty()) {
            texts.items_.push_back(entry.item);
            continue;
        }
        QString filled;
        for (const Part& part : entry.parts)
            filled += part.column < 0 ? part.literal : row.value(part.column);
        auto copy = std::make_shared<ObjItemText>(static_cast<const ObjItemText&>(*entry.item));
        copy->SetText(filled);
        texts.items_.push_back(copy.get());
        texts.owned_.push_back(std::move(copy));
    }
    return texts;
}

} // namespace print
