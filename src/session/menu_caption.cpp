#include "session/menu_caption.h"

namespace zantor {

std::string numberedMenuCaption(int number, const std::string& name) {
    std::string caption = "&" + std::to_string(number) + ' ';
    for (const char c : name) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

}  // namespace zantor
