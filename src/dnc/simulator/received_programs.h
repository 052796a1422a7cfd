#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "dnc/tape_code.h"

namespace zantor::sim {

// Cuts what a simulated control receives into programs and files them: a
// program is over once the line has been quiet for the control's end-of-file
// time. Flow control and blank tape are not part of a program; what is left
// is decoded from the tape code to text and saved as the next free
// "SIMnnnn.TAP" in the folder.
class ReceivedPrograms {
public:
    using Clock = std::chrono::steady_clock;

    ReceivedPrograms(std::string folder, TapeCode code, Clock::duration quiet);

    // `received`: every byte the control has received so far. Returns the
    // path of a program it has saved, once its line went quiet. Throws
    // FileError when the program cannot be written.
    std::optional<std::string> update(std::string_view received, Clock::time_point now);
    // What is not yet filed has been taken for something else (the XON that
    // starts a punch).
    void skipTo(size_t count) { filed_ = count; }
    size_t filed() const { return filed_; }

    // The program bytes of a received chunk: without NULs and, outside EIA
    // (where 0x11 and 0x13 are the codes of "1" and "3"), without XON and XOFF.
    static std::string programBytes(std::string_view chunk, TapeCode code);

    // The first "SIMnnnn.TAP" of `folder` that is free.
    static std::string freeName(const std::string& folder);

private:
    std::string nextFileName() const;

    std::string folder_;
    TapeCode code_;
    Clock::duration quiet_;
    size_t filed_ = 0;  // received bytes dealt with
    size_t seen_ = 0;   // received bytes at the last change
    Clock::time_point lastChange_{};
};

}  // namespace zantor::sim
