// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardCommand.h"

#include "model/ObjItemBitmap.h"

#include <algorithm>

namespace {

// Takes next's result into step when next continues it: a step of the same type
// with the same non-zero merge key, on the same item.
template <typename Step, typename Result>
bool absorbSameItem(Step& step, const CardCommand& next, PmrData::Position Step::*pos, Result Step::*after)
{
    const auto* same = dynamic_cast<const Step*>(&next);
    if (!same || step.mergeKey() == 0 || same->mergeKey() != step.mergeKey() || same->*pos != step.*pos)
        return false;
    step.*after = same->*after;
    return true;
}

} // namespace

std::size_t ItemNodeCommand::heldBytes() const
{
    std::size_t bytes = 0;
    for (const auto& item : held_)
        if (const auto* picture = dynamic_cast<const ObjItemBitmap*>(item.get()))
            bytes += std::size_t(picture->dib.bytes().size());
    return bytes;
}

void ItemNodeCommand::takeOut(PmrData& page, Position pos)
{
    held_.splice(held_.end(), page.items(), pos);
}

void ItemNodeCommand::putBack(PmrData& page, Position pos, const std::optional<Position>& after)
{
    PmrData::ItemList& items = page.items();
    items.splice(after ? std::next(*after) : items.begin(), held_, pos);
}

AddItemCommand::AddItemCommand(std::unique_ptr<ObjItem> item, std::optional<Position> after) : after_(after)
{
    held_.push_back(std::move(item));
    node_ = held_.begin();
}

bool AddItemCommand::apply(CardDocument& doc)
{
    if (!*node_)
        return false;
    selectedBefore_ = doc.selection().position();
    putBack(doc.page(), node_, after_);
    doc.selection().select(node_);
    return true;
}

void AddItemCommand::revert(CardDocument& doc)
{
    doc.selection().set(selectedBefore_);
    takeOut(doc.page(), node_);
}

bool DeleteItemCommand::apply(CardDocument& doc)
{
    PmrData& page = doc.page();
    SelectionState& sel = doc.selection();
    after_ = pos_ == page.items().begin() ? std::nullopt : std::optional(std::prev(pos_));
    selectedBefore_ = sel.position();
    if (sel.position() == pos_)
        sel.clear();
    takeOut(page, pos_);
    return true;
}

void DeleteItemCommand::revert(CardDocument& doc)
{
    putBack(doc.page(), pos_, after_);
    doc.selection().set(selectedBefore_);
}

bool SendToBackCommand::apply(CardDocument& doc)
{
    PmrData::ItemList& items = doc.page().items();
    if (pos_ == items.begin())
        return false;
    after_ = std::prev(pos_);
    items.splice(items.begin(), items, pos_);
    return true;
}

void SendToBackCommand::revert(CardDocument& doc)
{
    PmrData::ItemList& items = doc.page().items();
    items.splice(std::next(after_), items, pos_);
}

void ItemGeometry::applyTo(ObjItem& item) const
{
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
}

MoveItemCommand::MoveItemCommand(PmrData::Position pos, ItemGeometry before, ItemGeometry after)
    : pos_(pos), before_(before), after_(after)
{
}

MoveItemCommand::MoveItemCommand(PmrData::Position pos) : pos_(pos), before_(ItemGeometry::of(**pos)), after_(before_) {}

bool MoveItemCommand::apply(CardDocument& doc)
{
    if (before_ == after_)
        return false;
    after_.applyTo(**pos_);
    doc.selection().select(pos_);
    return true;
}

void MoveItemCommand::revert(CardDocument& doc)
{
    before_.applyTo(**pos_);
    doc.selection().select(pos_);
}

bool MoveItemCommand::absorb(const CardCommand& next)
{
    return absorbSameItem(*this, next, &MoveItemCommand::pos_, &MoveItemCommand::after_);
}

std::unique_ptr<EditItemCommand> EditItemCommand::setFields(PmrData::Position pos, std::vector<FieldEdit> edits)
{
    return std::make_unique<EditItemCommand>(pos, [edits = std::move(edits)](ObjItem& item) {
        for (const FieldEdit& edit : edits)
            if (const ItemField* field = findField(item, edit.name))
                field->set(item, edit.value);
    });
}

EditItemCommand::Snapshot EditItemCommand::take(const ObjItem& item)
{
    Snapshot fields;
    for (const ItemField& field : item.fields())
        fields.push_back(field.type == FieldType::Picture ? FieldValue(0) : field.get(item));
    return fields;
}

void EditItemCommand::restore(ObjItem& item, const Snapshot& fields)
{
    const std::span<const ItemField> table = item.fields();
    for (std::size_t i = 0; i < table.size() && i < fields.size(); ++i)
        if (table[i].type != FieldType::Picture)
            table[i].load(item, fields[i]);
}

// The first apply runs the edit; applying again after a revert restores its result.
bool EditItemCommand::apply(CardDocument& doc)
{
    ObjItem& item = **pos_;
    doc.selection().select(pos_);
    if (applied_) {
        restore(item, after_);
        return true;
    }
    before_ = take(item);
    edit_(item);
    after_ = take(item);
    applied_ = true;
    return after_ != before_;
}

void EditItemCommand::revert(CardDocument& doc)
{
    restore(**pos_, before_);
    doc.selection().select(pos_);
}

bool EditItemCommand::absorb(const CardCommand& next)
{
    return absorbSameItem(*this, next, &EditItemCommand::pos_, &EditItemCommand::after_);
}

bool ReplacePictureCommand::apply(CardDocument& doc)
{
    auto* item = dynamic_cast<ObjItemBitmap*>(pos_->get());
    if (!item || other_.dib.isEmpty())
        return false;
    doc.selection().select(pos_);
    before_ = ItemGeometry::of(*item);
    dibSizeBefore_ = QSize(item->dibWidth, item->dibHeight);
    item->exchangePictureFitted(other_);
    return true;
}

void ReplacePictureCommand::revert(CardDocument& doc)
{
    doc.selection().select(pos_);
    auto* item = static_cast<ObjItemBitmap*>(pos_->get());
    item->exchangePicture(other_);
    item->dibWidth = dibSizeBefore_.width();
    item->dibHeight = dibSizeBefore_.height();
    before_.applyTo(*item);
}

std::unique_ptr<SetBackgroundCommand> SetBackgroundCommand::color(const PmrData& page, std::uint32_t color)
{
    return std::make_unique<SetBackgroundCommand>(CardBackground{{}, color, page.patternScale});
}

std::unique_ptr<SetBackgroundCommand> SetBackgroundCommand::pattern(const PmrData& page, platform::Dib picture)
{
    return std::make_unique<SetBackgroundCommand>(CardBackground{std::move(picture), page.backColor, 100});
}

std::unique_ptr<SetBackgroundCommand> SetBackgroundCommand::scale(const PmrData& page, int percent)
{
    return std::make_unique<SetBackgroundCommand>(CardBackground{
        page.pattern, page.backColor, std::clamp(percent, PmrData::kMinPatternScale, PmrData::kMaxPatternScale)});
}

// The background shows in the panel when nothing is selected.
bool SetBackgroundCommand::apply(CardDocument& doc)
{
    if (CardBackground::of(doc.page()) == other_)
        return false;
    exchange(doc.page());
    doc.selection().clear();
    return true;
}

void SetBackgroundCommand::revert(CardDocument& doc)
{
    exchange(doc.page());
    doc.selection().clear();
}

// The page takes the other background and the command keeps the page's.
void SetBackgroundCommand::exchange(PmrData& page)
{
    std::swap(page.pattern, other_.pattern);
    std::swap(page.backColor, other_.backColor);
    std::swap(page.patternScale, other_.patternScale);
}

bool SetCardSizeCommand::apply(CardDocument& doc)
{
    const PmrData& card = doc.card();
    if (card.cardWidth == width_ && card.cardHeight == height_)
        return false;
    // A back turned a quarter against the front stays turned.
    if (const PmrData* back = card.back()) {
        const bool turned = back->cardWidth != card.cardWidth || back->cardHeight != card.cardHeight;
        backOther_ = turned ? QSize(height_, width_) : QSize(width_, height_);
    }
    exchange(doc.card());
    return true;
}

void SetCardSizeCommand::revert(CardDocument& doc)
{
    exchange(doc.card());
}

void SetCardSizeCommand::exchange(PmrData& card)
{
    const QSize was(card.cardWidth, card.cardHeight);
    std::swap(card.cardWidth, width_);
    std::swap(card.cardHeight, height_);
    PmrData* back = card.back();
    if (!back)
        return;
    QSize other = backOther_;
    if (!other.isValid()) { // a back made since: it follows the front, turned as it was
        const bool turned = was.width() != was.height() && QSize(back->cardWidth, back->cardHeight) == was.transposed();
        other = turned ? QSize(card.cardHeight, card.cardWidth) : QSize(card.cardWidth, card.cardHeight);
    }
    backOther_ = QSize(back->cardWidth, back->cardHeight);
    back->cardWidth = other.width();
    back->cardHeight = other.height();
}

bool TurnBackCommand::apply(CardDocument& doc)
{
    PmrData* back = doc.card().back();
    if (!back || back->cardWidth == back->cardHeight)
        return false;
    revert(doc);
    return true;
}

void TurnBackCommand::revert(CardDocument& doc)
{
    if (PmrData* back = doc.card().back())
        std::swap(back->cardWidth, back->cardHeight);
}
