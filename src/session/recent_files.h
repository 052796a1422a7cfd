#pragma once

#include <array>
#include <string>

#include "core/ini_file.h"

namespace zantor {

inline constexpr size_t kRecentFileCount = 6;
using RecentFiles = std::array<std::string, kRecentFileCount>;

// Section "MRU", keys "0" to "5": full paths of recently opened files.
RecentFiles readRecentFiles(const IniFile& ini);
void writeRecentFiles(IniFile& ini, const RecentFiles& files);

// Puts `name` at the front; any other entry equal to it goes, and the oldest
// entry drops off the end.
void AddRecentFile(RecentFiles& files, const std::string& name);
// The caption of menu item MRU1..MRU6 for entry `index` (0-based): "&1 name".
std::string recentFileCaption(size_t index, const std::string& name);

}  // namespace zantor
