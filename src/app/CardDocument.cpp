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

void CardDocument::setModified(int flag)
{
    if (modified_ == flag)
        return;
    modified_ = flag;
    Q_EMIT changed(ModifiedChanged);
}

std::optional<PmrData::Position> CardDocument::tail()
{
    if (page_.items().empty())
        return std::nullopt;
    return std::prev(page_.items().end());
}

bool CardDocument::apply(std::unique_ptr<CardCommand> command)
{
    if (edit_)
        endItemEdit();
    if (!command || !command->apply(*this))
        return false;
    Q_EMIT changed(command->changes());
    setModified(1);
    history_.push(std::move(command));
    return true;
}

void CardDocument::replaceContents(std::unique_ptr<PmrData> contents, bool relayout)
{
    if (edit_)
        endItemEdit();
    selection_.clear();
    page_.swap(*contents);
    renewCardId();
    Q_EMIT changed(RedrawCard | RefillPanel | ContentsReplaced | (relayout ? Relayout : Change(0)));
    setModified(0);
    history_.clear();
}

void CardDocument::touch()
{
    Q_EMIT changed(RedrawCard);
    setModified(1);
}

bool CardDocument::undo()
{
    if (edit_)
        endItemEdit();
    CardCommand* step = history_.stepBack();
    if (!step)
        return false;
    step->revert(*this);
    Q_EMIT changed(step->changes() | RefillPanel);
    setModified(history_.atSaved() ? 0 : 1);
    return true;
}

bool CardDocument::redo()
{
    if (edit_)
        endItemEdit();
    CardCommand* step = history_.stepForward();
    if (!step)
        return false;
    step->apply(*this);
    Q_EMIT changed(step->changes() | RefillPanel);
    setModified(history_.atSaved() ? 0 : 1);
    return true;
}

void CardDocument::markSaved()
{
    if (edit_)
        endItemEdit(); // what a drag under way moved is saved too
    history_.markSaved();
    setModified(0);
}

void CardDocument::markUnsaved()
{
    history_.forgetSaved();
    setModified(1);
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
