#include "machines/machine_database.h"

#include <algorithm>

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

// The slot count for changing the list. A hand-edited section may hold slot
// keys without "Number"; counting the highest slot then keeps every listed
// machine, where reading "Number" as 0 would write over the first slot.
int slotCountForChange(const IniFile& ini) {
    if (const auto number = ini.find(kNamesSection, "NUMBER")) return parseIntOr(*number, 0);
    int highest = 0;
    for (const std::string& key : ini.keys(kNamesSection)) {
        const std::string_view digits =
            std::string_view(key).substr(std::min<size_t>(7, key.size()));
        if (digits.empty() || !equalsIgnoreCase(std::string_view(key).substr(0, 7), "MACHINE") ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        highest = std::max(highest, parseIntOr(digits, 0));
    }
    return highest;
}

}  // namespace

std::vector<std::string> MachineDatabase::ListMachines() const {
    const auto ini = IniStore::read(path_);
    const int count = ini->readInt("Machine Names", "Number", kListedSlotsWithoutNumber);
    std::vector<std::string> names;
    for (int n = 1; n <= count; ++n) {
        std::string name =
            ini->readString("Machine Names", "Machine" + std::to_string(n), kNotUsedSlot);
        if (name != kNotUsedSlot) names.push_back(std::move(name));
    }
    return names;
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
    const KeyValueList entries = machineSectionEntries(settings);
    IniStore::update(path_, [&](IniFile& ini) {
        for (const auto& [key, value] : entries) ini.writeString(name, key, value);
    });
}

void MachineDatabase::AddMachineName(const std::string& name) const {
    IniStore::update(path_, [&](IniFile& ini) {
        const int count = slotCountForChange(ini);
        for (int n = 1; n <= count; ++n) {
            if (ini.readString(kNamesSection, slotKey(n), kNotUsedSlot) == kNotUsedSlot) {
                ini.writeString(kNamesSection, slotKey(n), name);
                return;
            }
        }
        ini.writeInt(kNamesSection, "NUMBER", count + 1);
        ini.writeString(kNamesSection, slotKey(count + 1), name);
    });
}

void MachineDatabase::DeleteMachine(const std::string& name) const {
    IniStore::update(path_, [&](IniFile& ini) {
        ini.eraseSection(name);
        const int count = slotCountForChange(ini);
        for (int n = 1; n <= count; ++n) {
            if (ini.readString(kNamesSection, slotKey(n), kNotUsedSlot) == name) {
                ini.writeString(kNamesSection, slotKey(n), kNotUsedSlot);
                return;
            }
        }
    });
}

}  // namespace zantor
