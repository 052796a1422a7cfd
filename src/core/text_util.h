#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zantor {

// ASCII-only case handling: settings files and machine names are plain ASCII,
// and bytes above 127 must pass through untouched.
char asciiLower(char c);
char asciiUpper(char c);
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool lessIgnoreCase(std::string_view a, std::string_view b);

// Spaces and tabs at both ends.
std::string_view trimBlanks(std::string_view text);
// Characters with codes of 32 or less at the end.
std::string trimRightControl(std::string_view text);

// A whole decimal integer with optional sign and surrounding blanks; nothing
// else may follow. Values outside 32 bits are not integers.
std::optional<int> parseInt(std::string_view text);
int parseIntOr(std::string_view text, int fallback);

}  // namespace zantor
