#pragma once

#include <string>

#include "dnc/tape_code.h"

namespace zantor {

// Converts every byte of `source` into `code` and writes the result to
// `target` (replaced in one step; it may be `source` itself): EIA codes by
// encodeEia, ASCII with even parity in bit 7, ISO unchanged. Under EIA a
// byte without an EIA code stops the conversion before anything is written:
// TapeCodeError names its line and column. Throws FileError.
void encodeTapeFile(const std::string& source, const std::string& target, TapeCode code);

}  // namespace zantor
