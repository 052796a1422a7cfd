#include "machines/machine_database.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/ini_store.h"
#include "core/text_util.h"
#include "machines/machine_section.h"

namespace zantor {

namespace {

constexpr const char* kNamesSection = "MACHINE NAMES";
constexpr int kListedSlotsWithoutNumber = 25;

std::string slotKey(int n) {
    return "MACHINE" + std::to_string(n);
}

// The slot keys present ("Machine" + n), by slot number. Only these are
// walked, so a "Number" far beyond them costs nothing.
std::map<int, std::string> presentSlots(const IniFile& ini) {
    std::map<int, std::string> slots;
    for (const std::string& key : ini.keys(kNamesSection)) {
        const std::string_view name(key);
        if (name.size() <= 7 || !equalsIgnoreCase(name.substr(0, 7), "MACHINE")) continue;
        const std::string_view digits = name.substr(7);
        // "Machine01" is not slot 1: a lookup of "Machine1" would not find it.
        if (digits.front() == '0' || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::optional<int> n = parseInt(digits);
        if (n) slots.emplace(*n, std::string(ini.find(kNamesSection, key).value_or("")));
    }
    return slots;
}

// The slot count for changing the list. A missing, unreadable or negative
// "Number" (a hand-edited file) counts up to the highest slot listed, so an
// add never writes over a listed machine.
int slotCountForChange(const IniFile& ini, const std::map<int, std::string>& slots) {
    if (const auto number = ini.find(kNamesSection, "NUMBER"))
        if (const auto count = parseInt(*number); count && *count >= 0) return *count;
    return slots.empty() ? 0 : slots.rbegin()->first;
}

void addName(IniFile& ini, const std::string& name) {
    const auto slots = presentSlots(ini);
    const int count = slotCountForChange(ini, slots);
    // The first slot that is missing or "Not Used"; it lies within the slots present + 1.
    int free = 1;
    for (const auto& [n, listed] : slots) {
        if (n != free || listed == kNotUsedSlot) break;
        ++free;
    }
    if (free <= count) {
        ini.writeString(kNamesSection, slotKey(free), name);
        return;
    }
    ini.writeInt(kNamesSection, "NUMBER", count + 1);
    ini.writeString(kNamesSection, slotKey(count + 1), name);
}

void writeSection(IniFile& ini, const std::string& name, const MachineSettings& settings) {
    for (const auto& [key, value] : machineSectionEntries(settings))
        ini.writeString(name, key, value);
}

void deleteMachine(IniFile& ini, const std::string& name) {
    ini.eraseSection(name);
    const auto slots = presentSlots(ini);
    const int count = slotCountForChange(ini, slots);
    for (const auto& [n, listed] : slots) {
        if (n > count) break;
        if (listed == name) {
            ini.writeString(kNamesSection, slotKey(n), kNotUsedSlot);
            return;
        }
    }
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "M" + n + "N" names a macro, "M" + n + "L" + m holds one of its lines.
bool isMacroKey(std::string_view key) {
    if (key.size() < 3 || asciiUpper(key[0]) != 'M') return false;
    const size_t letter = key.find_first_not_of("0123456789", 1);
    if (letter == std::string_view::npos || letter == 1) return false;
    const char kind = asciiUpper(key[letter]);
    if (kind == 'N') return letter + 1 == key.size();
    return kind == 'L' && allDigits(key.substr(letter + 1));
}

}  // namespace

std::string machineNameProblem(const std::string& name) {
    if (trimBlanks(name).empty()) return "A machine needs a name.";
    if (trimBlanks(name) != name) return "A machine name cannot begin or end with a blank.";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "A machine name cannot hold control characters.";
    if (equalsIgnoreCase(name, kNotUsedSlot))
        return std::string("\"") + kNotUsedSlot + "\" marks a free slot and cannot name a machine.";
    return {};
}

std::vector<std::string> listMachines(const IniFile& ini) {
    const int count = ini.readInt(kNamesSection, "NUMBER", kListedSlotsWithoutNumber);
    std::vector<std::string> names;
    for (auto& [n, name] : presentSlots(ini)) {
        if (n > count) break;
        if (name != kNotUsedSlot) names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> MachineDatabase::ListMachines() const {
    return listMachines(*IniStore::read(path_));
}

void MachineDatabase::LoadMachine(const std::string& name, MachineSettings& settings,
                                  FolderFlags& flags) const {
    readMachineSection(*IniStore::read(path_), name, settings);
    flags = FolderFlags{};
}

MachComRec MachineDatabase::ReadMachComRec(const std::string& section,
                                           MachineSettings& settings) const {
    readMachineSection(*IniStore::read(path_), section, settings);
    MachComRec record = settings.Comm;
    record.Name.clear();
    return record;
}

void MachineDatabase::SaveMachine(const std::string& name, const MachineSettings& settings) const {
    IniStore::update(path_, [&](IniFile& ini) { writeSection(ini, name, settings); });
}

void MachineDatabase::AddMachineName(const std::string& name) const {
    IniStore::update(path_, [&](IniFile& ini) { addName(ini, name); });
}

void MachineDatabase::AddMachine(const std::string& name, const MachineSettings& settings) const {
    IniStore::update(path_, [&](IniFile& ini) {
        addName(ini, name);
        writeSection(ini, name, settings);
    });
}

void MachineDatabase::DeleteMachine(const std::string& name) const {
    IniStore::update(path_, [&](IniFile& ini) { deleteMachine(ini, name); });
}

std::string MachineDatabase::RenameMachine(const std::string& oldName, const std::string& newName,
                                           const MachineSettings& settings) const {
    if (std::string problem = machineNameProblem(newName); !problem.empty()) return problem;
    std::string refusal;
    IniStore::update(path_, [&](IniFile& ini) {
        // Sections match without regard to case, so "MILL" for "Mill" is the
        // same machine spelt anew, not another one.
        for (const std::string& listed : listMachines(ini))
            if (equalsIgnoreCase(listed, newName) && !equalsIgnoreCase(oldName, newName)) {
                refusal = "A machine named \"" + listed + "\" exists already.";
                return;
            }
        KeyValueList macros;
        for (const std::string& key : ini.keys(oldName))
            if (isMacroKey(key)) macros.emplace_back(key, ini.readString(oldName, key, ""));
        deleteMachine(ini, oldName);
        addName(ini, newName);
        writeSection(ini, newName, settings);
        for (const auto& [key, value] : macros) ini.writeString(newName, key, value);
    });
    return refusal;
}

}  // namespace zantor
