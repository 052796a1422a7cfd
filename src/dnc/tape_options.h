#pragma once

#include <stdexcept>
#include <string>

#include "dnc/tape_code.h"

namespace zantor {

struct AppSettings;
struct MachineSettings;

// What send-file preparation takes from the machine and the settings.
struct TapeOptions {
    TapeCode code = TapeCode::Iso;
    bool StripBlankLines = false;
    bool FilterLineFeeds = false;
    std::string LineCommentChar = "<";  // LCOMMENTCHAR: lines starting with it are not sent
    int LeaderLen = 0;                  // inches of blank tape before and after the program
    std::string StartSend;
    std::string EndSend;
};

TapeOptions tapeOptionsFor(const MachineSettings& machine, const AppSettings& settings);

// A text that cannot go to the machine in its tape code. Nothing has been
// written when it is thrown; what() names the place and the character.
class TapeCodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace zantor
