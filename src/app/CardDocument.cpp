// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardDocument.h"

#include "app/CardCommand.h"

#include <QUuid>

CardDocument::CardDocument(QObject* parent) : QObject(parent)
{
    renewCardId();
}

void CardDocument::renewCardId()
{
    cardId_ = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
}

CardDocument::~CardDocument() = default;

CardDocument::Changes CardDocument::reverted(Changes what)
{
    const Changes swapped = (what & ItemAdded ? ItemRemoved : Change(0)) | (what & ItemRemoved ? ItemAdded : Change(0));
    return (what & ~Changes(ItemAdded | ItemRemoved)) | swapped;
}

void CardDocument::reportModified()
{
    if (isModified() == reportedModified_)
        return;
    reportedModified_ = !reportedModified_;
    Q_EMIT changed(ModifiedChanged);
}

QByteArray CardDocument::sideId() const
{
    return side_ == Side::Back ? cardId_ + "/back" : cardId_;
}

std::optional<PmrData::Position> CardDocument::tail()
{
    PmrData& side = page();
    if (side.items().empty())
        return std::nullopt;
    return std::prev(side.items().end());
}

bool CardDocument::enterSide(Side side)
{
    if (side == side_)
        return false;
    if (side == Side::Back)
        card_.ensureBack();
    side_ = side;
    selection_.clear();
    selection_.setPage(page());
    return true;
}

bool CardDocument::showSide(Side side)
{
    if (side == side_)
        return false;
    if (edit_)
        endItemEdit();
    enterSide(side);
    Q_EMIT changed(SideChanged);
    return true;
}

CardDocument::Changes CardDocument::showSideOf(const CardCommand& step)
{
    return enterSide(step.onBack() ? Side::Back : Side::Front) ? Changes(SideChanged) : Changes();
}

bool CardDocument::apply(std::unique_ptr<CardCommand> command)
{
    if (edit_)
        endItemEdit();
    if (!command)
        return false;
    command->setOnBack(side_ == Side::Back);
    if (!command->apply(*this))
        return false;
    const Changes what = command->changes();
    history_.push(std::move(command));
    Q_EMIT changed(what);
    reportModified();
    return true;
}

void CardDocument::replaceContents(std::unique_ptr<PmrData> contents, bool newSize)
{
    if (edit_)
        endItemEdit();
    selection_.clear();
    const Changes sideChanged = enterSide(Side::Front) ? Changes(SideChanged) : Changes();
    card_.swap(*contents);
    renewCardId();
    Q_EMIT changed(ContentsReplaced | sideChanged | (newSize ? CardSizeChanged : Change(0)));
    history_.clear();
    touched_ = false;
    reportModified();
}

void CardDocument::touch(Changes what)
{
    Q_EMIT changed(what);
    touched_ = true;
    reportModified();
}

bool CardDocument::undo()
{
    if (edit_)
        endItemEdit();
    CardCommand* step = history_.stepBack();
    if (!step)
        return false;
    const Changes side = showSideOf(*step);
    step->revert(*this);
    Q_EMIT changed(reverted(step->changes()) | SelectionChanged | side);
    touched_ = false; // the history's place decides, whatever the refill touched
    reportModified();
    return true;
}

bool CardDocument::redo()
{
    if (edit_)
        endItemEdit();
    CardCommand* step = history_.stepForward();
    if (!step)
        return false;
    const Changes side = showSideOf(*step);
    step->apply(*this);
    Q_EMIT changed(step->changes() | SelectionChanged | side);
    touched_ = false;
    reportModified();
    return true;
}

void CardDocument::markSaved()
{
    if (edit_)
        endItemEdit(); // what a drag under way moved is saved too
    history_.markSaved();
    touched_ = false;
    reportModified();
}

void CardDocument::markUnsaved()
{
    history_.forgetSaved();
    reportModified();
}

void CardDocument::beginItemEdit()
{
    if (!edit_ && selection_.position())
        edit_ = std::make_unique<MoveItemCommand>(*selection_.position());
}

bool CardDocument::endItemEdit()
{
    std::unique_ptr<MoveItemCommand> edit = std::move(edit_);
    return edit && (edit->takeAfter(), apply(std::move(edit)));
}
