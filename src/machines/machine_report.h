#pragma once

#include <string>

#include "core/ini_file.h"
#include "machines/machine_settings.h"

namespace zantor {

// The settings report of one machine as "&Print" of the setup dialog makes
// it, one line per setting, each line ending in "\n".
std::string settingsReport(const std::string& name, const MachineSettings& settings);

// The summary of every listed machine, read from the database file itself
// (values as stored, not as loaded).
std::string dncSummary(const IniFile& database);

}  // namespace zantor
