#pragma once

#include <string>
#include <vector>

namespace zantor {

class ActivityLog;
class Interaction;

// Direct file transfer (device type 4): programs are copied between folders
// instead of going over a port. A copy never touches its source: a
// destination that is the source file itself is refused with a message, and
// an existing destination is replaced only when the user says so.
class DirectTransfer {
public:
    DirectTransfer(ActivityLog& log, Interaction& interaction)
        : log_(log), interaction_(interaction) {}

    // Several files chosen for sending, or files chosen for receiving: each
    // from the last of the list to the first, logged as "DNC Direct File
    // Transfer " + `direction` + " [" file "]" and copied into `folder`.
    // The number of files copied.
    size_t copyFiles(const std::vector<std::string>& files, const std::string& folder,
                     const std::string& direction);

    // One prepared program: the send file (in the machine's tape code, with
    // its leader and strings) is written into `folder` under the file-name
    // part of `sentName` ("NONE" when there is none), then the log line
    // "DNC Direct File Transfer Send [" sentName "]". False when nothing was
    // written.
    bool sendPrepared(const std::string& sendFile, const std::string& sentName,
                      const std::string& folder);

private:
    enum class Outcome { Copied, Skipped, Cancelled };
    // Copies `source` to `target` under the rules above.
    Outcome copyOne(const std::string& source, const std::string& target,
                    const std::string& original);

    ActivityLog& log_;
    Interaction& interaction_;
};

}  // namespace zantor
