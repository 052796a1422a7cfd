#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zantor::editor {

// The texts searched for in this run, the latest first, each once, so the
// Find and Replace dialogs can offer them again.
class SearchHistory {
public:
    static constexpr size_t kMaxEntries = 20;

    // Puts `text` first (moving it up if it is there already); an empty
    // text is not kept.
    void add(const std::string& text);
    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace zantor::editor
