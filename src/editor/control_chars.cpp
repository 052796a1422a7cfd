#include "editor/control_chars.h"

namespace zantor::editor {

std::string applyControlCharRule(std::string_view text, bool keepControlChars) {
    const unsigned char highest = keepControlChars ? 0 : 9;
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) <= highest) c = ' ';
    return out;
}

}  // namespace zantor::editor
