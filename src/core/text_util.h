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

// Files of the program's own that hold Latin-1 bytes (the user file) meet
// the UTF-8 of dialogs and terminals here. nullopt when the text is not
// UTF-8 or holds a character beyond Latin-1.
std::optional<std::string> utf8ToLatin1(std::string_view utf8);
std::string latin1ToUtf8(std::string_view latin1);

// A whole decimal integer with optional sign and surrounding blanks; nothing
// else may follow. Values outside 32 bits are not integers.
std::optional<int> parseInt(std::string_view text);
int parseIntOr(std::string_view text, int fallback);

}  // namespace zantor
