#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace zantor::editor {

// One edit of a batch as undo and redo need it: `removed` was replaced by
// `inserted` at `position`; undo restores the selection before it, redo
// puts the caret after it.
struct BatchStep {
    long position = 0;
    std::string removed;
    std::string inserted;
    long anchorBefore = 0;
    long caretBefore = 0;
    long caretAfter = 0;
};

// The undo steps of one batch of edits (a utility's walk over a program of
// millions of lines), each edit a step of its own. Kept compactly and in
// pieces that never move: a step costs 24 bytes and its texts, and growing
// never copies what is held, so recording the millionth edit costs what
// the first did. Positions are document positions (at most INT_MAX).
class BatchHistory {
public:
    // A new edit after the steps applied so far; the steps undone before it
    // can no longer be redone.
    void record(long position, std::string_view removed, std::string_view inserted,
                long anchorBefore, long caretBefore, long caretAfter);

    std::size_t size() const { return steps_.size(); }
    std::size_t applied() const { return applied_; }
    bool canUndo() const { return applied_ > 0; }
    bool canRedo() const { return applied_ < steps_.size(); }

    // The last applied step, now counted as undone (its texts into `step`,
    // whose room is used again).
    void takeUndo(BatchStep& step);
    // The first undone step, now counted as applied again.
    void takeRedo(BatchStep& step);
    // The steps undone can no longer be redone: their memory is let go.
    void dropRedo();

    // Bytes of step texts held.
    std::size_t textBytes() const { return text_.size(); }

private:
    struct Step {
        std::int32_t position;
        std::uint32_t removedLength;
        std::uint32_t insertedLength;
        std::int32_t anchorBefore;
        std::int32_t caretBefore;
        std::int32_t caretAfter;
    };
    static_assert(sizeof(Step) == 24);

    void read(const Step& step, std::size_t textStart, BatchStep& out) const;

    std::deque<Step> steps_;
    std::deque<char> text_;  // removed then inserted text of each step, in order
    std::size_t applied_ = 0;
    std::size_t appliedText_ = 0;  // text bytes of the applied steps
};

}  // namespace zantor::editor
