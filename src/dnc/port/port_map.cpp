#include "dnc/port/port_map.h"

#include "core/ini_file.h"
#include "core/text_util.h"

namespace zantor {

PortMap PortMap::fromSettings(const IniFile& settings) {
    PortMap map;
    for (const std::string& key : settings.keys("PORTS")) {
        const int number = parseIntOr(key, 0);
        const std::string path = settings.readString("PORTS", key, "");
        if (number >= 1 && !path.empty()) map.set(number, path);
    }
    return map;
}

std::string PortMap::devicePath(int number) const {
    const auto it = paths_.find(number);
    if (it != paths_.end()) return it->second;
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::optional<PortChoice> parsePortChoice(const std::string& text) {
    if (text.starts_with("/")) return PortChoice{0, text};
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(text);
    if (number < 1 || number > 65535) return std::nullopt;
    return PortChoice{number, ""};
}

std::string comName(int number) {
    return "COM" + std::to_string(number);
}

}  // namespace zantor
