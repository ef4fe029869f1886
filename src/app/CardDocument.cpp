#include "app/CardDocument.h"

#include "app/CardCommand.h"

CardDocument::CardDocument(QObject* parent) : QObject(parent) {}

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

std::unique_ptr<CardCommand> CardDocument::apply(std::unique_ptr<CardCommand> command)
{
    if (edit_)
        endItemEdit();
    if (!command || !command->apply(*this))
        return nullptr;
    Q_EMIT changed(command->changes());
    setModified(command->modifiedAfter());
    return command;
}

void CardDocument::touch()
{
    Q_EMIT changed(RedrawCard);
    setModified(1);
}

void CardDocument::revert(CardCommand& command)
{
    if (edit_)
        endItemEdit();
    command.revert(*this);
    Q_EMIT changed(command.changes());
    setModified(1);
}

void CardDocument::beginItemEdit()
{
    if (!edit_ && selection_.position())
        edit_ = std::make_unique<MoveItemCommand>(*selection_.position());
}

std::unique_ptr<CardCommand> CardDocument::endItemEdit()
{
    std::unique_ptr<MoveItemCommand> edit = std::move(edit_);
    if (!edit)
        return nullptr;
    edit->takeAfter();
    return apply(std::move(edit));
}
