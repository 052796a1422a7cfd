#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ini_file.h"
#include "machines/machine_settings.h"

namespace zantor {

// Reads a machine section into `settings`. Missing keys take their defaults;
// a few unreadable values (a parity letter, a handshaking code, an arithmetic
// operation) keep what `settings` held before, which is why it is in-out.
void readMachineSection(const IniFile& ini, std::string_view section, MachineSettings& settings);

// What a machine without any stored key loads as.
MachineSettings defaultMachineSettings();

// The keys of a machine section with their written forms, in the order they
// are saved.
using KeyValueList = std::vector<std::pair<std::string, std::string>>;
KeyValueList machineSectionEntries(const MachineSettings& settings);

}  // namespace zantor
