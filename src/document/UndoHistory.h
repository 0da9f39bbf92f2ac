#pragma once
// The list of edits that Undo and Redo walk, with the point where the library was last
// saved. Unlimited levels within a memory limit: when the steps hold more than the limit,
// the oldest are dropped (the newest step is always kept, however large).
//
// Qt's QUndoStack can only limit the number of steps, and only while it is empty; a limit
// in bytes needs dropping the oldest steps one by one, so the history keeps its own list.

#include "document/EditStep.h"

#include <cstddef>
#include <deque>

namespace qrb {

class UndoHistory {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t(256) << 20;

    explicit UndoHistory(std::size_t byteLimit = kDefaultLimit) : limit_(byteLimit) {}

    // A new limit; the oldest steps go when the history is over it.
    void setLimit(std::size_t byteLimit);

    // Forgets every step; the current state is the saved one when `saved` is set.
    void clear(bool saved = true);

    // Records a step that has just been done: the steps that could be redone are dropped,
    // then the oldest while the history is over its limit. A step of the same run as the
    // step just recorded (typing after typing) merges into it instead.
    // True when the step merged into the newest one (what Undo names is unchanged).
    bool push(EditStep step);
    // The next step starts a new run even when it is of the same kind.
    void endRun() { runOpen_ = false; }

    bool canUndo() const { return index_ > 0; }
    bool canRedo() const { return index_ < steps_.size(); }
    // The step Undo would take back, and the one Redo would do again.
    EditStep& undoStep() { return steps_[index_ - 1]; }
    EditStep& redoStep() { return steps_[index_]; }
    const EditStep& undoStep() const { return steps_[index_ - 1]; }
    const EditStep& redoStep() const { return steps_[index_]; }
    // Moves the current point after the document took a step back or forward.
    void stepBack() {
        --index_;
        runOpen_ = false;
    }
    void stepForward() {
        ++index_;
        runOpen_ = false;
    }

    // The library was saved in the current state / was changed outside the history (the
    // saved state can no longer be reached).
    void markSaved() { saved_ = index_; }
    void markUnsaved() { saved_ = kNowhere; }
    // No step between the saved state and the current one changes the library's tiles.
    bool matchesSaved() const;

    std::size_t size() const { return steps_.size(); }
    // How many of the steps are done (the rest can be redone).
    std::size_t position() const { return index_; }
    std::size_t bytes() const { return bytes_; }
    std::size_t limit() const { return limit_; }

private:
    void trim();

    static constexpr std::size_t kNowhere = std::size_t(-1);

    std::deque<EditStep> steps_;
    // Entry i: how many of the steps before step i change the library's tiles (one more
    // entry than steps), so whether the saved state is reached is known without a walk.
    std::deque<std::size_t> changesBefore_{0};
    std::size_t index_ = 0; // steps before it are done, the rest undone
    std::size_t saved_ = 0; // index of the saved state, or kNowhere
    std::size_t bytes_ = 0;
    std::size_t limit_;
    bool runOpen_ = false; // the newest step may take the next of its run
};

} // namespace qrb
