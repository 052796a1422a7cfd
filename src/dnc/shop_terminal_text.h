#pragma once

#include <cstdint>
#include <string>

namespace zantor {

// A line the shop terminal sent as its answer, as the menu takes it: the
// first CR and the first LF go, then each backspace (0x08) takes the
// character before it; at most 255 characters.
std::string terminalAnswer(std::string line);

// A file of the terminal's file list: the name up to its first ".", at
// least 9 wide, then the size at least 4 wide: "k Chrs" in kilobytes from
// 9217 bytes on, else "  Chrs" in bytes.
std::string terminalDirectoryLine(const std::string& name, uint64_t size);

}  // namespace zantor
