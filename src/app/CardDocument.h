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

// The card being edited: the page, its document path, the modified flag and the
// selection. Every change of the card is a command applied here; changed() tells
// the window what to redraw and refill.
class CardDocument : public QObject {
    Q_OBJECT
public:
    enum Change {
        RedrawCard = 0x01,
        RefillPanel = 0x02,      // the selection or the list changed
        Relayout = 0x04,         // fit the view to the card again
        ModifiedChanged = 0x08,
        ContentsReplaced = 0x10, // open and new: the panel refills before the redraw
    };
    Q_DECLARE_FLAGS(Changes, Change)

    explicit CardDocument(QObject* parent = nullptr);
    ~CardDocument() override;

    PmrData& page() { return page_; }
    const PmrData& page() const { return page_; }
    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    int modified() const { return modified_; }
    void setModified(int flag);
    // Tells this card apart from every other, also in other running editors; a new
    // or opened card is another card.
    const QByteArray& cardId() const { return cardId_; }
    void renewCardId();
    SelectionState& selection() { return selection_; }
    const SelectionState& selection() const { return selection_; }
    // The last item of the list, which new items follow; none for an empty list.
    std::optional<PmrData::Position> tail();

    // Applies a change, keeps it in the history and sets the modified flag as the
    // command says, after the window has redrawn. False when it changed nothing.
    // A live item edit is committed first.
    bool apply(std::unique_ptr<CardCommand> command);
    // Open and new: the page takes other items, background and card size; nothing
    // is selected, and the card is another one, unmodified, with a history of its
    // own. relayout: fit the view to the new card (open), or keep it (new).
    void replaceContents(std::unique_ptr<PmrData> contents, bool relayout);
    // A command that changed nothing still counts where the editor says so: the
    // card is redrawn and marked modified.
    void touch();
    // Takes back the newest step, or makes the step taken back again. The card is
    // modified unless it is back where it was last saved; the panel refills.
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

    // Tells the window about what is not a change of the card: a drag step, a new selection.
    void notify(Changes what) { Q_EMIT changed(what); }

Q_SIGNALS:
    void changed(CardDocument::Changes what);

private:
    PmrData page_;
    QString path_;
    int modified_ = 0;
    SelectionState selection_{page_};
    std::unique_ptr<MoveItemCommand> edit_;
    UndoHistory history_;
    QByteArray cardId_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CardDocument::Changes)
