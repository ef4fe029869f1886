// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UndoHistory.h"

#include "app/CardCommand.h"

UndoHistory::UndoHistory() = default;
UndoHistory::~UndoHistory() = default;

void UndoHistory::push(std::unique_ptr<CardCommand> step)
{
    if (!step)
        return;
    if (index_ < steps_.size()) {
        steps_.erase(steps_.begin() + std::ptrdiff_t(index_), steps_.end());
        if (saved_ && *saved_ > index_)
            saved_.reset(); // the saved card can no longer be reached
    }
    // A step saved as it is stays apart from what follows.
    if (index_ > 0 && !atSaved() && steps_[index_ - 1]->absorb(*step))
        return;
    steps_.push_back(std::move(step));
    index_ = steps_.size();
    trim();
}

CardCommand* UndoHistory::stepBack()
{
    if (!canUndo())
        return nullptr;
    return steps_[--index_].get();
}

CardCommand* UndoHistory::stepForward()
{
    if (!canRedo())
        return nullptr;
    return steps_[index_++].get();
}

void UndoHistory::clear()
{
    steps_.clear();
    index_ = 0;
    saved_ = 0;
}

std::size_t UndoHistory::heldBytes() const
{
    std::size_t bytes = 0;
    for (const auto& s : steps_)
        bytes += s->heldBytes();
    return bytes;
}

void UndoHistory::trim()
{
    std::size_t bytes = heldBytes();
    std::size_t drop = 0;
    while (steps_.size() - drop > kMaxSteps
           || (steps_.size() - drop > kMinSteps && bytes > kByteBudget)) {
        bytes -= steps_[drop]->heldBytes();
        ++drop;
    }
    if (drop == 0)
        return;
    steps_.erase(steps_.begin(), steps_.begin() + std::ptrdiff_t(drop));
    index_ -= drop;
    if (saved_)
        saved_ = *saved_ >= drop ? std::optional(*saved_ - drop) : std::nullopt;
}
