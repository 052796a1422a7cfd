#include "editor/nc_macros.h"

#include <algorithm>

#include "core/ini_file.h"

namespace zantor::editor {

namespace {

std::string nameKey(int slot) {
    return "M" + std::to_string(slot) + "N";
}

std::string lineKeyPrefix(int slot) {
    return "M" + std::to_string(slot) + "L";
}

bool isLineKeyOf(const std::string& key, int slot) {
    const std::string prefix = lineKeyPrefix(slot);
    if (key.size() <= prefix.size()) return false;
    if (!std::equal(prefix.begin(), prefix.end(), key.begin(), [](char a, char b) {
            return std::toupper((unsigned char)a) == std::toupper((unsigned char)b);
        }))
        return false;
    return std::all_of(key.begin() + long(prefix.size()), key.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

MacroSlots::MacroSlots(IniFile& file, std::string section)
    : file_(file), section_(std::move(section)) {}

std::vector<std::string> MacroSlots::names() const {
    std::vector<std::string> out;
    for (int slot = 1; slot <= kMaxMacros; ++slot)
        if (auto name = file_.value(section_, nameKey(slot))) out.push_back(*name);
    return out;
}

std::optional<int> MacroSlots::slotOf(const std::string& name) const {
    for (int slot = 1; slot <= kMaxMacros; ++slot)
        if (file_.value(section_, nameKey(slot)) == name) return slot;
    return std::nullopt;
}

std::vector<std::string> MacroSlots::lines(const std::string& name) const {
    std::vector<std::string> out;
    const std::optional<int> slot = slotOf(name);
    if (!slot) return out;
    for (int k = 1;; ++k) {
        auto line = file_.value(section_, lineKeyPrefix(*slot) + std::to_string(k));
        if (!line) break;
        out.push_back(std::move(*line));
    }
    return out;
}

void MacroSlots::remove(const std::string& name) {
    const std::optional<int> slot = slotOf(name);
    if (!slot) return;
    file_.deleteKey(section_, nameKey(*slot));
    for (const std::string& key : file_.keys(section_))
        if (isLineKeyOf(key, *slot)) file_.deleteKey(section_, key);
}

bool MacroSlots::save(const std::string& name, const std::vector<std::string>& lines) {
    const std::optional<int> own = slotOf(name);
    int free = 0;
    for (int slot = 1; slot <= kMaxMacros && free == 0; ++slot)
        if (slot == own || !file_.value(section_, nameKey(slot))) free = slot;
    if (free == 0) return false;
    remove(name);
    // A free slot may still hold line keys written by hand or by an older
    // program: they would join the new macro.
    for (const std::string& key : file_.keys(section_))
        if (isLineKeyOf(key, free)) file_.deleteKey(section_, key);
    file_.writeString(section_, nameKey(free), name);
    for (size_t k = 0; k < lines.size(); ++k)
        file_.writeString(section_, lineKeyPrefix(free) + std::to_string(k + 1), lines[k]);
    return true;
}

std::string uniqueMacroName(const std::vector<std::string>& names, const std::string& wanted) {
    const auto taken = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (!taken(wanted)) return wanted;
    for (int n = 2;; ++n) {
        std::string name = wanted + " " + std::to_string(n);
        if (!taken(name)) return name;
    }
}

std::optional<std::string> expandMacro(const std::vector<std::string>& lines,
                                       const std::function<std::string(const std::string&)>& ask) {
    std::string out;
    std::string previous;
    for (const std::string& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            std::string piece;
            if (line[i] != '#') {
                piece = line.substr(i, 1);
            } else if (i + 1 < line.size() && line[i + 1] == '#') {
                piece = "#";
                ++i;
            } else {
                piece = ask(previous).substr(0, kMaxRegisterAnswer);
            }
            out += piece;
            if (!piece.empty()) previous = piece.substr(piece.size() - 1);
            if (out.size() > kMaxExpandedMacro) return std::nullopt;
        }
        out += "\r\n";
        if (out.size() > kMaxExpandedMacro) return std::nullopt;
    }
    return out;
}

std::vector<std::string> macroLinesOf(const std::string& contents) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos) end = contents.size();
        std::string line = contents.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(std::move(line));
        start = end + 1;
    }
    // A final line end opens no further line.
    if (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

}  // namespace zantor::editor
