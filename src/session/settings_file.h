#pragma once

#include <string>

#include "session/run_state.h"
#include "core/ini_file.h"
#include "machines/machine_section.h"

namespace zantor {

class Interaction;

// Reads section "GENERAL" into the run state (up to the print font; LOGGING
// belongs to the activity log). A margin that is not a number warns through
// `interaction` and reads as 0.
void LoadSettings(const IniFile& ini, RunState& state, Interaction& interaction);

// The GENERAL keys as SaveSettings writes them, in order. `selectedMachine`
// is the entry chosen in the machine selector, empty when none is.
KeyValueList generalEntries(const RunState& state, const std::string& selectedMachine);
void SaveSettings(IniFile& ini, const RunState& state, const std::string& selectedMachine);

// The logging switch kept in the same section.
bool readLoggingSetting(const IniFile& ini);
void writeLoggingSetting(IniFile& ini, bool enabled);

}  // namespace zantor
