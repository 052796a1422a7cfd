#include "users/user_record.h"

namespace zantor {

std::string ScramblePassword(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = char(static_cast<unsigned char>(c) ^ 0xA5);
    return out;
}

}  // namespace zantor
