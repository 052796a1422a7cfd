#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zantor {

// Watches a byte stream for any of several strings, given as one text split
// at a separator ("\r/\x1b" with "/"). Empty entries never match.
class AnyStringMatcher {
public:
    AnyStringMatcher(std::string_view list, std::string_view separator, bool ignoreCase);
    // The 1-based index of the first listed string the stream now ends with, else 0.
    int feed(uint8_t byte);

private:
    std::vector<std::string> strings_;
    std::string tail_;
    size_t longest_ = 0;
    bool ignoreCase_;
};

}  // namespace zantor
