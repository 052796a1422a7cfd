#pragma once

#include <string>
#include <string_view>

#include "dnc/port/clock.h"
#include "dnc/tape_code.h"

namespace zantor {

class ComPort;

// Throws TapeCodeError (naming `what`) when under EIA a character of the
// string has no EIA code; checked before anything is sent.
void checkInitString(std::string_view text, TapeCode code, const std::string& what);

// Sends an init, start-of-receive or end-of-receive string: "/" escapes give
// a byte (0 and up, modulo 256) or a pause of that many milliseconds (a
// negative value, during which the window does not react); the other
// characters go in the machine's tape code (inTapeCode). A full output
// queue is waited on for at most `roomLimit`. False when the string could
// not all be queued (the port closed or stayed held). Throws TapeCodeError
// as checkInitString.
bool sendInitString(ComPort& port, std::string_view text, TapeCode code, const std::string& what,
                    Clock::Duration roomLimit);

}  // namespace zantor
