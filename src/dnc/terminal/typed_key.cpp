#include "dnc/terminal/typed_key.h"

namespace zantor {

TypedKey typedKey(std::string_view text, bool enter, bool localEcho, bool autoLf) {
    if (enter && autoLf) return {"\r\n", "\n"};
    const std::string sent = enter ? std::string("\r") : std::string(text);
    return {sent, localEcho ? sent : std::string()};
}

}  // namespace zantor
