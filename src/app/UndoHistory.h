// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class CardCommand;

// The steps of the card that can be taken back and made again, oldest first, with
// the place of the last save. The newest steps are kept: at least kMinSteps, up to
// kMaxSteps while the pictures they hold stay within kByteBudget.
class UndoHistory {
public:
    static constexpr std::size_t kMinSteps = 100;
    static constexpr std::size_t kMaxSteps = 1000;
    static constexpr std::size_t kByteBudget = std::size_t(256) << 20;

    UndoHistory();
    ~UndoHistory();

    // A step just applied: the steps taken back are dropped, and the step joins
    // the newest one when that one absorbs it.
    void push(std::unique_ptr<CardCommand> step);
    // The step to take back or make again, with the place moved past it; null at an end.
    CardCommand* stepBack();
    CardCommand* stepForward();
    bool canUndo() const { return index_ > 0; }
    bool canRedo() const { return index_ < steps_.size(); }
    std::size_t size() const { return steps_.size(); }
    // Picture bytes the steps hold apart from the card.
    std::size_t heldBytes() const;
    void clear();

    // The card as it is now is the one saved.
    void markSaved() { saved_ = index_; }
    // No place of the history is the card saved: it came from elsewhere.
    void forgetSaved() { saved_.reset(); }
    bool atSaved() const { return saved_ == index_; }

private:
    void trim();

    std::vector<std::unique_ptr<CardCommand>> steps_;
    std::size_t index_ = 0; // steps before it are applied
    std::optional<std::size_t> saved_{0};
};
