#pragma once

#include <string>

namespace zantor {

inline constexpr const char* kTestPatternFileName = "TSTPATT.TAP";

// "Send Test Pattern": a program of about `kilobytes` K: "%", "O7777",
// (kilobytes × 1024) / 15 lines "G01X1.5Y2.5Z3.5", "M30" and "%", each
// ended by CR LF. Throws FileError; a failed write leaves no half file.
void writeTestPattern(const std::string& path, int kilobytes);

}  // namespace zantor
