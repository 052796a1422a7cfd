#pragma once

#include <string>

namespace zantor {

inline constexpr const char* kAnalyzerSettingsFile = "PS.INI";
inline constexpr const char* kAnalyzerParameters = "ZTR2013";
inline constexpr const char* kAnalyzerQuestion =
    "      About to Save the Current File,\r\n"
    "Close the Window and Run the NC-Code Anaylzer\r\n"
    "           Do You Wish to Proceed ?";
inline constexpr const char* kNoAnalyzerSet =
    "No NC-Code Analyzer is set. Enter the command that starts it under "
    "\"NC-Code Analyzer\" in Setup, Properties.";

// "C:\PARTS\A1.TAP" -> "C:\PARTS\A1.OPF": the analyzer's operations file of
// a program (".OPF" added when the name has no extension).
std::string AnalyzerOperationsFile(const std::string& programFile);

// Makes `program` and `machine` the most recent entries of the analyzer's
// lists in its settings file `psIni`, keeping every other key; the file is
// replaced whole or not at all. Throws FileError.
void WriteAnalyzerHandoff(const std::string& psIni, const std::string& program,
                          const std::string& machine);

}  // namespace zantor
