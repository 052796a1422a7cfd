#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dnc/tape_code.h"

namespace zantor {

struct MachineFormat;

// The requests a machine control can type, in the order their packets are
// offered the incoming data.
enum class RemoteRequest { Path, Directory, Receive, Send, Message };

// The bytes of a request as the machine's tape code delivered them, made
// text: the parity bit stripped under ASCII, EIA codes decoded (0x80, the
// end of a block, reads as CR), ISO unchanged.
std::string requestTextFromLine(std::string_view bytes, TapeCode code, bool parityAdded);

// The argument of a request: leading blanks and control characters go, and
// trailing ones too (a blank typed before the closing parenthesis is no part
// of a file name).
std::string requestArgument(std::string_view collected);

// Where a send, receive or directory request points. Whatever arrives on the
// line is untrusted: the argument names a file (or a mask) inside its folder,
// so one holding "/" or "\" or being "." or ".." is refused (`refused`
// holds the path as it would have been, for the "Failed" line).
struct RemoteTarget {
    std::string path;
    bool refused = false;
};

// `remotePath`: the folder of the last path request, empty when none.
RemoteTarget remoteTargetPath(const MachineFormat& machine, const std::string& remotePath,
                              RemoteRequest request, const std::string& argument);

// Whether a path request's folder may be used: a folder relative to the
// machine's download folder (upload folder for a receive), or an absolute
// one inside either; it must exist and holds no ".." part. The operator
// chooses among the machine's own folders, never the whole disk.
bool remotePathAccepted(const MachineFormat& machine, const std::string& argument);

// The directory listing sent for a directory request: an NC program, one
// comment line per entry that matches the mask (case is ignored: controls
// type capitals), sorted by name. Each element is one line with its CR LF;
// the first is the CR LF before "%".
struct DirectoryEntry {
    std::string name;
    uint64_t size = 0;
};
std::vector<DirectoryEntry> matchingEntries(const std::string& folder, const std::string& mask);
std::vector<std::string> directoryListingLines(const std::vector<DirectoryEntry>& entries,
                                               const std::string& commentStart,
                                               const std::string& commentEnd);

// "*" and "?" as file masks have them, without regard to case.
bool maskMatches(std::string_view mask, std::string_view name);

}  // namespace zantor
