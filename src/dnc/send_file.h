#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dnc/slash_escapes.h"
#include "dnc/tape_options.h"

namespace zantor {

// A character of a start, end or init string in the machine's tape code:
// its EIA code, or with even parity under ASCII, so that the strings read
// as the rest of the tape does.
uint8_t inTapeCode(char c, TapeCode code);

// A start or end string as the bytes of the send file: "/" escapes give
// their byte unconverted (modulo 256); the other characters are in the
// machine's tape code. `what` names the string in a TapeCodeError.
std::string writeStringWithEscapes(std::string_view text, TapeCode code, const std::string& what);

// Under EIA every character of a string that is sent as itself must have
// an EIA code: throws TapeCodeError naming `what` and the character's column.
void requireEiaCodes(const std::vector<EscapePiece>& pieces, const std::string& what);

// Writes `sendFile` anew: StartSend, the leader (LeaderLen × 10 + 1 bytes
// 0x00 when LeaderLen > 0), `body` byte for byte, the leader again, EndSend.
// `sendFile` is replaced only when all went well. Throws FileError and
// TapeCodeError.
void prepareSendFile(const std::string& body, const std::string& sendFile,
                     const TapeOptions& options);

// A disk file made ready to send: its work file, then the send file around it.
void prepareDiskFile(const std::string& source, const std::string& workFile,
                     const std::string& sendFile, const TapeOptions& options);

}  // namespace zantor
