#pragma once

#include "app/SelectionState.h"
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
    SelectionState& selection() { return selection_; }
    const SelectionState& selection() const { return selection_; }
    // The last item of the list, which new items follow; none for an empty list.
    std::optional<PmrData::Position> tail();

    // Applies a change and sets the modified flag as the command says, after the
    // window has redrawn. Returns the command (for an undo history), or null when
    // it changed nothing. A live item edit is committed first.
    std::unique_ptr<CardCommand> apply(std::unique_ptr<CardCommand> command);
    // A command that changed nothing still counts where the editor says so: the
    // card is redrawn and marked modified.
    void touch();
    // Takes back the latest command that apply returned; the card counts as modified.
    void revert(CardCommand& command);

    // A drag changes the selected item's geometry live, step by step; the
    // document records the whole drag as one change when it ends.
    void beginItemEdit();
    bool editingItem() const { return edit_ != nullptr; }
    std::unique_ptr<CardCommand> endItemEdit();

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
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CardDocument::Changes)
