#include "document/UndoHistory.h"

#include <algorithm>

namespace qrb {

namespace {

// A step that goes on `last`'s run: it changes the text being placed alone or the slots
// alone, as `last` does.
bool continuesRun(const EditStep& last, const EditStep& step) {
    if (last.run != step.run || last.runKey != step.runKey || step.working || step.selection ||
        step.libraryOpen || step.options || step.changesLibrary())
        return false;
    if (step.liveText)
        return !step.positionSlots && last.liveText;
    return step.positionSlots && last.positionSlots;
}

} // namespace

void UndoHistory::clear(bool saved) {
    steps_.clear();
    changesBefore_.assign(1, 0);
    index_ = 0;
    bytes_ = 0;
    saved_ = saved ? 0 : kNowhere;
    runOpen_ = false;
}

bool UndoHistory::push(EditStep step) {
    if (runOpen_ && step.run != EditStep::Run::None && index_ == steps_.size() && index_ > 0 &&
        continuesRun(steps_.back(), step)) {
        // The run goes on: the newest step now ends where this one does.
        EditStep& last = steps_.back();
        if (step.liveText)
            last.liveText->after = std::move(step.liveText->after);
        else
            last.positionSlots->after = std::move(step.positionSlots->after);
        return true;
    }
    runOpen_ = step.run != EditStep::Run::None;
    // The saved state among the redo steps about to go: the library is as saved here too when
    // no step between changes its tiles (a text typed and undone); otherwise it is gone.
    if (saved_ != kNowhere && saved_ > index_)
        saved_ = matchesSaved() ? index_ : kNowhere;
    while (steps_.size() > index_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
        changesBefore_.pop_back();
    }
    bytes_ += step.bytes;
    changesBefore_.push_back(changesBefore_.back() + (step.changesLibrary() ? 1 : 0));
    steps_.push_back(std::move(step));
    ++index_;
    trim();
    return false;
}

void UndoHistory::setLimit(std::size_t byteLimit) {
    limit_ = byteLimit;
    trim();
}

void UndoHistory::trim() {
    while (bytes_ > limit_ && steps_.size() > 1 && index_ > 0) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        changesBefore_.pop_front();
        --index_;
        if (saved_ != kNowhere)
            saved_ = saved_ == 0 ? kNowhere : saved_ - 1;
    }
}

bool UndoHistory::matchesSaved() const {
    if (saved_ == kNowhere)
        return false;
    const auto [from, to] = std::minmax(saved_, index_);
    return changesBefore_[to] == changesBefore_[from];
}

} // namespace qrb
