#pragma once

#include <string>

#include "dnc/tape_code.h"

namespace zantor {

// Turns a program captured in `code` back into text lines ended by CR LF and
// writes it to `target` (which may be `captured` itself: the target is
// replaced in one step, so a failure leaves it as it was).
//   EIA: the end-of-block code 0x80 ends a line (0x0D is the code of "*");
//        every other code is decoded; the file is read to its end, since
//        0x1A is the code of "(" and ":".
//   ASCII: 0x0D, 0x80 and 0x8D end a line; bit 7 (the parity) is cleared;
//        the first 0x1A ends the text.
//   ISO: the bytes are copied unchanged.
// A run of line ends gives one; line feeds are dropped. Throws FileError.
void convertReceivedFile(const std::string& captured, const std::string& target, TapeCode code);

inline void convertReceivedFile(const std::string& file, TapeCode code) {
    convertReceivedFile(file, file, code);
}

}  // namespace zantor
