#pragma once

#include <string>
#include <string_view>

namespace zantor::editor {

// What happens to control characters when text leaves a view (copied to the
// clipboard or saved). The first view of a window keeps them: only a NUL,
// which no file or clipboard can carry, becomes a space. The second view of a
// split window turns codes 0 to 9 (tab included) into spaces.
std::string applyControlCharRule(std::string_view text, bool keepControlChars);

}  // namespace zantor::editor
