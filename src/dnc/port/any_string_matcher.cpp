#include "dnc/port/any_string_matcher.h"

#include <algorithm>

#include "core/text_util.h"

namespace zantor {

namespace {
char fold(char c, bool ignoreCase) {
    return ignoreCase ? asciiUpper(c) : c;
}
}  // namespace

AnyStringMatcher::AnyStringMatcher(std::string_view list, std::string_view separator,
                                   bool ignoreCase)
    : ignoreCase_(ignoreCase) {
    size_t at = 0;
    while (true) {
        const size_t end = separator.empty() ? std::string_view::npos : list.find(separator, at);
        std::string entry(list.substr(at, end == std::string_view::npos ? end : end - at));
        for (char& c : entry) c = fold(c, ignoreCase);
        longest_ = std::max(longest_, entry.size());
        strings_.push_back(std::move(entry));
        if (end == std::string_view::npos) break;
        at = end + separator.size();
    }
}

int AnyStringMatcher::feed(uint8_t byte) {
    tail_.push_back(fold(char(byte), ignoreCase_));
    if (tail_.size() > longest_) tail_.erase(0, tail_.size() - longest_);
    for (size_t i = 0; i < strings_.size(); ++i)
        if (!strings_[i].empty() && tail_.ends_with(strings_[i])) return int(i + 1);
    return 0;
}

}  // namespace zantor
