#pragma once

#include <string>

#include "compare/compare_options.h"

namespace zantor::compare {

// What the File Compare window keeps in its settings file between runs of
// the program: the two dialog folders and the options.
struct CompareSettings {
    std::string folder1;
    std::string folder2;
    CompareOptions options;
    bool deleteCreatedFiles = false;
};

// Missing keys take their defaults; an unreadable file gives all defaults.
CompareSettings ReadCompareSettings(const std::string& path);
// Keeps the rest of the file. Throws FileError.
void WriteCompareSettings(const std::string& path, const CompareSettings& settings);

// The settings file: the program's file name with ".INI" in the system folder.
std::string CompareSettingsPath(const std::string& systemFolder, const std::string& programFile);

}  // namespace zantor::compare
