// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CardDocument.h"
#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/PmrData.h"
#include "platform/Dib.h"

#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// One change of the card, applied through CardDocument::apply. apply makes the
// change and returns false when it would change nothing; revert takes back the
// last apply exactly, list positions and selection included, given the card as
// apply left it.
class CardCommand {
public:
    virtual ~CardCommand() = default;
    virtual bool apply(CardDocument& doc) = 0;
    virtual void revert(CardDocument& doc) = 0;
    // What apply changes; revert changes the same back (CardDocument::reverted).
    virtual CardDocument::Changes changes() const = 0;

    // Steps of one kind with the same non-zero key, one right after the other, are
    // one step to take back: the typing of one visit to the text field, the arrow
    // key moves of one item. absorb takes the next step's result into this one.
    void setMergeKey(std::uint64_t key) { mergeKey_ = key; }
    std::uint64_t mergeKey() const { return mergeKey_; }
    virtual bool absorb(const CardCommand& next)
    {
        (void)next;
        return false;
    }
    // Picture bytes the step holds that the card does not, for the history's budget.
    virtual std::size_t heldBytes() const { return 0; }

    // The side of the card the step was made on, set by the document.
    void setOnBack(bool onBack) { onBack_ = onBack; }
    bool onBack() const { return onBack_; }

private:
    std::uint64_t mergeKey_ = 0;
    bool onBack_ = false;
};

// Commands that take items out of the list keep their nodes here, so a list
// position held by the selection or another command stays the same node
// while the item is out of the page.
class ItemNodeCommand : public CardCommand {
public:
    std::size_t heldBytes() const override;

protected:
    using Position = PmrData::Position;
    void takeOut(PmrData& page, Position pos);
    // Back into the page after the item at after, or at the head without one.
    void putBack(PmrData& page, Position pos, const std::optional<Position>& after);

    PmrData::ItemList held_;
};

// Add text, line, rectangle, picture and duplicate: a new item in the list,
// selected.
class AddItemCommand : public ItemNodeCommand {
public:
    // after: the item the new one follows; none puts it at the head.
    AddItemCommand(std::unique_ptr<ObjItem> item, std::optional<Position> after);
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemAdded; }

private:
    Position node_;
    std::optional<Position> after_;
    std::optional<Position> selectedBefore_;
};

// Delete: the item leaves the list; it is no longer selected.
class DeleteItemCommand : public ItemNodeCommand {
public:
    explicit DeleteItemCommand(Position pos) : pos_(pos) {}
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemRemoved; }

private:
    Position pos_;
    std::optional<Position> after_;
    std::optional<Position> selectedBefore_;
};

// Send to back: the item becomes the head of the list; nothing when it is already.
class SendToBackCommand : public CardCommand {
public:
    explicit SendToBackCommand(PmrData::Position pos) : pos_(pos) {}
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemsReordered; }

private:
    PmrData::Position pos_;
    PmrData::Position after_;
};

// What a move or a reshape changes of an item.
struct ItemGeometry {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    static ItemGeometry of(const ObjItem& item) { return {item.x, item.y, item.cx, item.cy}; }
    void applyTo(ObjItem& item) const;
    friend bool operator==(const ItemGeometry&, const ItemGeometry&) = default;
};

// A move or reshape of one item by a drag.
class MoveItemCommand : public CardCommand {
public:
    MoveItemCommand(PmrData::Position pos, ItemGeometry before, ItemGeometry after);
    // For an item changed live: its geometry now is the one before; takeAfter()
    // records the one after.
    explicit MoveItemCommand(PmrData::Position pos);
    void takeAfter() { after_ = ItemGeometry::of(**pos_); }

    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemChanged; }
    bool absorb(const CardCommand& next) override;

private:
    PmrData::Position pos_;
    ItemGeometry before_;
    ItemGeometry after_;
};

// A change of one item's stored fields, its picture aside: the property panel's
// edits of text, font, size, alignment, colour, width, shape, white-out and edge.
// The fields are kept before and after, so taking it back and applying it again
// restore them exactly without copying the picture.
class EditItemCommand : public CardCommand {
public:
    using Edit = std::function<void(ObjItem&)>;
    EditItemCommand(PmrData::Position pos, Edit edit) : pos_(pos), edit_(std::move(edit)) {}
    // Fields named, set in turn as the editor sets them (measured, clamped, kept in
    // place); a name the item's table has not is passed over.
    static std::unique_ptr<EditItemCommand> setFields(PmrData::Position pos, std::vector<FieldEdit> edits);
    static std::unique_ptr<EditItemCommand> setField(PmrData::Position pos, const char* name, FieldValue value)
    {
        return setFields(pos, {{name, std::move(value)}});
    }

    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemChanged; }
    bool absorb(const CardCommand& next) override;

private:
    using Snapshot = std::vector<FieldValue>;
    static Snapshot take(const ObjItem& item);
    static void restore(ObjItem& item, const Snapshot& fields);

    PmrData::Position pos_;
    Edit edit_;
    Snapshot before_;
    Snapshot after_;
    bool applied_ = false;
};

// Replace picture: the picture item takes another picture, fitted into its box
// and centred on it; shape, white-out and edge stay.
class ReplacePictureCommand : public CardCommand {
public:
    ReplacePictureCommand(PmrData::Position pos, platform::Dib picture) : pos_(pos), other_{std::move(picture), {}, {}} {}
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemChanged; }
    std::size_t heldBytes() const override { return other_.bytes(); }

private:
    PmrData::Position pos_;
    ObjItemBitmap::HeldPicture other_;
    ItemGeometry before_;
    QSize dibSizeBefore_; // as stored, which may differ from the header's
};

// The card's background: the pattern (drawn instead of the colour when there is
// one), the colour and the pattern's scale in percent.
struct CardBackground {
    platform::Dib pattern;
    std::uint32_t backColor = 0xFFFFFF;
    int patternScale = 100;
    static CardBackground of(const PmrData& page) { return {page.pattern, page.backColor, page.patternScale}; }
    friend bool operator==(const CardBackground&, const CardBackground&) = default;
};

class SetBackgroundCommand : public CardCommand {
public:
    explicit SetBackgroundCommand(CardBackground background) : other_(std::move(background)) {}
    // A colour drops the pattern; a pattern starts at 100 %; the scale is held to its limits.
    static std::unique_ptr<SetBackgroundCommand> color(const PmrData& page, std::uint32_t color);
    static std::unique_ptr<SetBackgroundCommand> pattern(const PmrData& page, platform::Dib picture);
    static std::unique_ptr<SetBackgroundCommand> scale(const PmrData& page, int percent);

    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::BackgroundChanged; }
    std::size_t heldBytes() const override { return std::size_t(other_.pattern.bytes().size()); }

private:
    void exchange(PmrData& page);
    CardBackground other_;
};

// Paper selection: the card takes another size in millimetres; the items keep
// their coordinates and the view fits the new card. A back takes the size too,
// turned when it was turned against the front.
class SetCardSizeCommand : public CardCommand {
public:
    SetCardSizeCommand(int width, int height) : width_(width), height_(height) {}
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::CardSizeChanged; }

private:
    void exchange(PmrData& card);
    int width_;
    int height_;
    QSize backOther_; // the back's other size; invalid until the card has a back
};

// The back turns a quarter against the front, from upright to across or back:
// its width and height change places, and the items keep their coordinates.
class TurnBackCommand : public CardCommand {
public:
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::CardSizeChanged; }
};
