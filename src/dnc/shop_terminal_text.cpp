#include "dnc/shop_terminal_text.h"

#include <cstdio>

namespace zantor {

std::string terminalAnswer(std::string line) {
    if (const size_t cr = line.find('\r'); cr != std::string::npos) line.erase(cr, 1);
    if (const size_t lf = line.find('\n'); lf != std::string::npos) line.erase(lf, 1);
    std::string answer;
    for (const char c : line) {
        if (c != '\x08') {
            answer += c;
        } else if (!answer.empty()) {
            answer.pop_back();
        }
    }
    if (answer.size() > 255) answer.resize(255);
    return answer;
}

std::string terminalDirectoryLine(const std::string& name, uint64_t size) {
    std::string line = name.substr(0, name.find('.'));
    if (line.size() < 9) line.resize(9, ' ');
    const bool inKilobytes = size >= 9217;
    char number[32];
    std::snprintf(number, sizeof number, "%4llu",
                  static_cast<unsigned long long>(inKilobytes ? size / 1024 : size));
    return line + number + (inKilobytes ? "k Chrs" : "  Chrs");
}

}  // namespace zantor
