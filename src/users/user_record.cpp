#include "users/user_record.h"

#include "core/text_util.h"

namespace zantor {

std::string ScramblePassword(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = char(static_cast<unsigned char>(c) ^ 0xA5);
    return out;
}

namespace {

bool isControl(unsigned char c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

std::string userNameProblem(std::string_view name) {
    const auto latin1 = utf8ToLatin1(name);
    if (!latin1)
        return "A user name can only hold letters, digits and signs of the Western European "
               "(Latin-1) character set.";
    const bool badStart = !latin1->empty() && std::string_view("[; \t").find(latin1->front()) !=
                                                  std::string_view::npos;
    bool bad = badStart;
    for (const char c : *latin1) bad = bad || c == '=' || isControl(static_cast<unsigned char>(c));
    if (bad)
        return "A user name cannot hold \"=\" or control characters, nor begin with \"[\", \";\" or "
               "a blank.";
    return {};
}

std::string passwordProblem(std::string_view password) {
    const auto latin1 = utf8ToLatin1(password);
    if (!latin1)
        return "A password can only hold letters, digits and signs of the Western European "
               "(Latin-1) character set.";
    for (const char ch : *latin1) {
        const auto c = static_cast<unsigned char>(ch);
        const auto scrambled = static_cast<unsigned char>(c ^ 0xA5);
        if (isControl(c) || scrambled == 0 || scrambled == '\n' || scrambled == '\r' ||
            scrambled == '\t')
            return "A password cannot hold the characters \u00A5 \u00A8 \u00AF \u00AC or control "
                   "characters.";
    }
    return {};
}

}  // namespace zantor
