#include "machines/machine_keys.h"

#include <algorithm>

#include "core/text_util.h"
#include "machines/machine_section.h"

namespace zantor {

namespace {

// Texts that the setup dialog takes as whole numbers.
bool isNumberText(std::string_view key) {
    for (std::string_view k : {"DIGL", "DIGR", "FDIGITS", "STARTSEQ", "LLEN"})
        if (equalsIgnoreCase(key, k)) return true;
    return false;
}

}  // namespace

std::string setMachineKey(MachineSettings& settings, const std::string& key,
                          const std::string& value) {
    KeyValueList entries = machineSectionEntries(settings);
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const auto& e) { return equalsIgnoreCase(e.first, key); });
    if (entry == entries.end()) return "Unknown machine key \"" + key + "\".";
    const std::string bad = "Bad value \"" + value + "\" for " + entry->first + ".";
    if (isNumberText(key)) {
        const auto n = parseInt(value);
        if (!n || *n < 0) return bad + " A whole number of 0 or more is needed.";
    }
    entry->second = value;
    // FLOW carries RTS/CTS as well; the HDWHAND written beside it would
    // override that on reading.
    if (equalsIgnoreCase(key, "FLOW"))
        std::erase_if(entries, [](const auto& e) { return e.first == "HDWHAND"; });
    // The value is good when the section holding it reads back to the same
    // written form: a list index outside its list, a clamped delay, a flag
    // other than 0 or 1, or a word where a number goes does not.
    IniFile ini;
    for (const auto& [k, v] : entries) ini.writeString("M", k, v);
    MachineSettings changed = settings;
    readMachineSection(ini, "M", changed);
    for (const auto& [k, v] : machineSectionEntries(changed))
        if (equalsIgnoreCase(k, key) && v != value) return bad;
    settings = changed;
    return {};
}

}  // namespace zantor
