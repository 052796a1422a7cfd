// The packet matcher against the plain rule: after each byte it names the
// first listed string the stream now ends with.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dnc/port/any_string_matcher.h"
#include "fuzz_check.h"

namespace {

bool endsWith(const std::string& stream, const std::string& tail, bool ignoreCase) {
    if (tail.size() > stream.size()) return false;
    return std::equal(tail.begin(), tail.end(), stream.end() - tail.size(), [&](char a, char b) {
        return ignoreCase ? std::toupper(uint8_t(a)) == std::toupper(uint8_t(b)) : a == b;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Input: flags byte, the list up to a NUL, then the stream.
    if (size < 2) return 0;
    const bool ignoreCase = data[0] & 1;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t end = rest.find('\0');
    if (end == std::string_view::npos) return 0;
    const std::string_view list = rest.substr(0, end);
    const std::string_view stream = rest.substr(end + 1);

    std::vector<std::string> strings;
    for (size_t from = 0;;) {
        const size_t slash = list.find('/', from);
        strings.emplace_back(list.substr(from, slash - from));
        if (slash == std::string_view::npos) break;
        from = slash + 1;
    }
    zantor::AnyStringMatcher matcher(list, "/", ignoreCase);
    std::string seen;
    for (const char c : stream) {
        seen += c;
        int expected = 0;
        for (size_t i = 0; i < strings.size() && !expected; ++i)
            if (!strings[i].empty() && endsWith(seen, strings[i], ignoreCase)) expected = int(i) + 1;
        FUZZ_CHECK(matcher.feed(uint8_t(c)) == expected);
    }
    return 0;
}
