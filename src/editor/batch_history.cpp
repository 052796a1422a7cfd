#include "editor/batch_history.h"

#include <cassert>

namespace zantor::editor {

void BatchHistory::record(long position, std::string_view removed, std::string_view inserted,
                          long anchorBefore, long caretBefore, long caretAfter) {
    dropRedo();
    text_.insert(text_.end(), removed.begin(), removed.end());
    text_.insert(text_.end(), inserted.begin(), inserted.end());
    steps_.push_back({std::int32_t(position), std::uint32_t(removed.size()),
                      std::uint32_t(inserted.size()), std::int32_t(anchorBefore),
                      std::int32_t(caretBefore), std::int32_t(caretAfter)});
    ++applied_;
    appliedText_ = text_.size();
}

void BatchHistory::read(const Step& step, std::size_t textStart, BatchStep& out) const {
    const auto removedStart = text_.begin() + std::ptrdiff_t(textStart);
    const auto insertedStart = removedStart + std::ptrdiff_t(step.removedLength);
    out.position = step.position;
    out.removed.assign(removedStart, insertedStart);
    out.inserted.assign(insertedStart, insertedStart + std::ptrdiff_t(step.insertedLength));
    out.anchorBefore = step.anchorBefore;
    out.caretBefore = step.caretBefore;
    out.caretAfter = step.caretAfter;
}

void BatchHistory::takeUndo(BatchStep& step) {
    assert(canUndo());
    const Step& last = steps_[--applied_];
    appliedText_ -= std::size_t(last.removedLength) + last.insertedLength;
    read(last, appliedText_, step);
}

void BatchHistory::takeRedo(BatchStep& step) {
    assert(canRedo());
    const Step& next = steps_[applied_++];
    read(next, appliedText_, step);
    appliedText_ += std::size_t(next.removedLength) + next.insertedLength;
}

void BatchHistory::dropRedo() {
    if (!canRedo()) return;
    // (Shrinking a deque lets go of its pieces past the end.)
    steps_.resize(applied_);
    text_.resize(appliedText_);
}

}  // namespace zantor::editor
