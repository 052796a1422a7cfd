#pragma once

#include <string>
#include <string_view>

namespace zantor {

// Where a key typed on the terminal screen goes.
struct TypedKey {
    std::string toPort;
    std::string toScreen;
    bool operator==(const TypedKey&) const = default;
};

// `text` is what the key types (Latin-1), `enter` whether it is the Enter
// key. With auto LF, Enter sends CR LF and shows a new line; with local
// echo every key shows on the screen as it is sent.
TypedKey typedKey(std::string_view text, bool enter, bool localEcho, bool autoLf);

}  // namespace zantor
