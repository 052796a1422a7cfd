#pragma once

#include <string>

#include "core/ini_file.h"

namespace zantor {

// Why `value` cannot be stored under GENERAL key `key` (any letter case) of
// ZTR2013.INI, empty when it can: flags are 0 or 1, numbers are whole and
// within what the program can use, margins leave room for a printed line.
std::string generalValueProblem(const std::string& key, const std::string& value);

// Writes the value under its GENERAL key when it is good; returns the problem
// otherwise and leaves `ini` unchanged.
std::string setGeneralKey(IniFile& ini, const std::string& key, const std::string& value);

// The limits the Properties dialog and the command line share.
inline constexpr int kMinComBufferSize = 128;
inline constexpr int kMaxComBufferSize = 65535;
inline constexpr double kMaxLeftMargin = 7.5;  // inches: a letter page keeps one inch of line
inline constexpr double kMaxTopOrBottomMargin = 5.0;

}  // namespace zantor
