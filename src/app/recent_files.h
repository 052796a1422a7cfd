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

}  // namespace zantor
