#include "editor/search_history.h"

#include <algorithm>

namespace zantor::editor {

void SearchHistory::add(const std::string& text) {
    if (text.empty()) return;
    std::erase(entries_, text);
    entries_.insert(entries_.begin(), text);
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
}

}  // namespace zantor::editor
