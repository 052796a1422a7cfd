#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zantor::editor {

// The paragraphs of a document in a gap buffer: the free room sits where the
// last edit was, so a run of edits near each other (a utility walking the
// program, typing) costs no shifting of the millions of paragraphs after it.
class ParagraphStore {
public:
    void assign(std::vector<std::string> paragraphs);
    std::size_t size() const { return buffer_.size() - gapLength_; }
    const std::string& operator[](std::size_t index) const { return buffer_[slot(index)]; }

    // Puts `with` in place of `count` paragraphs from `first` and returns the
    // paragraphs taken out.
    std::vector<std::string> replace(std::size_t first, std::size_t count,
                                     std::vector<std::string> with);

private:
    std::size_t slot(std::size_t index) const {
        return index < gapStart_ ? index : index + gapLength_;
    }
    void moveGapTo(std::size_t position);
    void growGap(std::size_t atLeast);

    std::vector<std::string> buffer_;
    std::size_t gapStart_ = 0;
    std::size_t gapLength_ = 0;
};

}  // namespace zantor::editor
