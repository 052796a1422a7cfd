#pragma once

#include <functional>
#include <string>
#include <vector>

#include "machines/mach_com_rec.h"

namespace zantor {

struct DncStation;

struct MultiFileOutcome {
    size_t filesSent = 0;  // files that went out whole
    bool stopped = false;  // the batch ended early: a stopped XON wait or a failed transfer
};

// The multi-file send: every file as it is stored on disk, from the last of
// the list to the first, each with the log line "DNC Send File [" file "]",
// its name on the terminal, the queues emptied, SendInit, the XON wait when
// the machine asks for it, the transfer, MultiFileDelay seconds and "Done
// with: " file. A stopped XON wait ends the batch, and so does a transfer
// that did not end cleanly (a cancel, a time-out): the rest of a batch is
// never sent after a program that did not arrive whole; `stopRequested`
// ends it too. `beforeStart` runs before each transfer starts (the window
// attaches its progress window).
// Throws TapeCodeError, before anything is sent, when SendInit cannot be
// sent in EIA.
MultiFileOutcome multiFileSend(DncStation& station, const MachComRec& machine,
                               const std::string& machineName, bool rtsLowForWrite,
                               const std::vector<std::string>& files,
                               const std::function<void()>& beforeStart = {},
                               const std::function<bool()>& stopRequested = {});

}  // namespace zantor
