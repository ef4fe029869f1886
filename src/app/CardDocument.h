// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SelectionState.h"
#include "app/UndoHistory.h"
#include "model/PmrData.h"

#include <QFlags>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class CardCommand;
class MoveItemCommand;

// The card being edited: the page, its document path, the selection and whether
// it differs from the card saved. Every change of the card is a command applied
// here; changed() tells what changed, and the window decides what to redraw,
// refill and lay out again.
class CardDocument : public QObject {
    Q_OBJECT
public:
    enum Change {
        ItemChanged = 0x01, // an item's geometry or fields, in its place
        ItemAdded = 0x02,
        ItemRemoved = 0x04,
        ItemsReordered = 0x08,
        BackgroundChanged = 0x10,
        CardSizeChanged = 0x20,
        ContentsReplaced = 0x40, // open and new: other items, background and history
        SelectionChanged = 0x80, // undo and redo set the selection of their step again
        ModifiedChanged = 0x100,
        Touched = 0x200, // an edit that changed nothing, which the card counts as a change
        SideChanged = 0x400, // the other side of the card is shown and edited
    };
    // The side of the card shown and edited: the front (おもて) or the back (うら).
    enum class Side { Front, Back };
    Q_DECLARE_FLAGS(Changes, Change)
    // The changes of taking back a step that made these: what it added is removed,
    // what it removed added again.
    static Changes reverted(Changes what);

    explicit CardDocument(QObject* parent = nullptr);
    ~CardDocument() override;

    // The side edited: every command works on it.
    PmrData& page() { return side_ == Side::Back ? *card_.back() : card_; }
    const PmrData& page() const { return side_ == Side::Back ? *card_.back() : card_; }
    // The whole card, saved and printed: the front, holding the back.
    PmrData& card() { return card_; }
    const PmrData& card() const { return card_; }
    Side side() const { return side_; }
    // Shows and edits the other side; nothing is selected there. The back is made,
    // empty and as large as the front, the first time it is shown; an empty back
    // is not stored, so the card is not modified. False when already there.
    bool showSide(Side side);
    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    // Away from the history's saved place, or touched since it was there.
    bool isModified() const { return touched_ || !history_.atSaved(); }
    // Tells this card apart from every other, also in other running editors; a new
    // or opened card is another card.
    const QByteArray& cardId() const { return cardId_; }
    // The same for the side shown: the back of a card is another page to paste on.
    QByteArray sideId() const;
    void renewCardId();
    SelectionState& selection() { return selection_; }
    const SelectionState& selection() const { return selection_; }
    // The last item of the list, which new items follow; none for an empty list.
    std::optional<PmrData::Position> tail();

    // Applies a change and keeps it in the history; the window hears of it before
    // ModifiedChanged. False when it changed nothing. A live item edit is committed first.
    bool apply(std::unique_ptr<CardCommand> command);
    // Open and new: the card takes other sides, items and background, and shows
    // its front; nothing is selected, and the card is another one, unmodified,
    // with a history of its own.
    // newSize: the card size is the contents' own (open), or the one kept (new).
    void replaceContents(std::unique_ptr<PmrData> contents, bool newSize);
    // What the editor counts as a change of the card without a step to take back:
    // a command that changed nothing (Touched), a click that changed the selection.
    // The window hears of it and the card is modified.
    void touch(Changes what = Touched);
    // Takes back the newest step, or makes the step taken back again, on the side
    // it was made on, which is shown first. The card is modified unless it is
    // back where it was last saved.
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_; }
    // The card as it is now is saved: unmodified, and the place undo comes back to.
    void markSaved();
    // The card as it is now is not the one saved at its path, nor is any step of
    // the history (a recovered card).
    void markUnsaved();

    // A drag changes the selected item's geometry live, step by step; the
    // document records the whole drag as one change when it ends.
    void beginItemEdit();
    bool endItemEdit();

    // Tells the window of what changed outside a command: a drag step, a new selection.
    void notify(Changes what) { Q_EMIT changed(what); }

Q_SIGNALS:
    void changed(CardDocument::Changes what);

private:
    // Tells the window when isModified() is other than it last told.
    void reportModified();
    // The side edited becomes side, with nothing selected; false when it already was.
    bool enterSide(Side side);
    // Shows a step's side before it is taken back or made again.
    Changes showSideOf(const CardCommand& step);

    PmrData card_;
    Side side_ = Side::Front;
    QString path_;
    bool touched_ = false;
    bool reportedModified_ = false;
    SelectionState selection_{card_};
    std::unique_ptr<MoveItemCommand> edit_;
    UndoHistory history_;
    QByteArray cardId_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CardDocument::Changes)
