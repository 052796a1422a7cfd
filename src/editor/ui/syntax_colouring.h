#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantor::editor {

// How a character of a display line is painted by the NC syntax colouring.
enum class SyntaxClass : char { Plain = 0, Alpha = 1, NonAlpha = 2, Comment = 3 };
inline constexpr int kSyntaxClasses = 4;

inline constexpr size_t kColouredPartLimit = 1024;
inline constexpr size_t kCommentStringLimit = 20;

// The current machine's comment delimiters, each at most 20 characters.
struct CommentStrings {
    std::string start = "(";
    std::string end = ")";
};

// The classes of the characters of `visible`, the part of a display line that
// is on screen. The in-comment state starts false: a character equal to the
// first character of the comment start switches it on (before that character
// is painted) when the whole start string occurs in the visible part; one
// equal to the first character of the comment end switches it off after that
// character when the whole end string occurs there. Outside comments "+",
// "-", "." and digits are Non-Alpha, everything else Alpha.
std::vector<SyntaxClass> classifyVisibleLine(std::string_view visible,
                                             const CommentStrings& comments);

}  // namespace zantor::editor
