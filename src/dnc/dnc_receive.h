#pragma once

#include <string>

#include "machines/mach_com_rec.h"

namespace zantor {

struct DncStation;

struct ReceiveRequest {
    std::string path;         // the file to receive into
    bool overwriting = false;  // the user agreed to replace an existing file
};

// The port receive of the DNC station, the same for the window's Receive and
// for the command line, from the log lines on: "DNC Receive Overwrite File
// [" path "]" when replacing a file, "DNC Receive File [" path "]", the
// engine set up for the machine, StartRecv, the terminal input off, the wait
// for the first character when the machine asks for it, the receive (events
// are handled until it has ended; the engine's finish event reports it),
// EndRecv, and the conversion back from EIA or ASCII of what the receive
// wrote. Throws TapeCodeError, before anything is logged or sent, when
// StartRecv or EndRecv cannot be sent in EIA.
struct ReceiveResult {
    int code = 0;                 // the engine's completion code
    std::string conversionError;  // why the conversion failed; the file stays as captured
};
ReceiveResult portReceive(DncStation& station, const MachComRec& machine, const std::string& machineName,
                bool rtsLowForWrite, const ReceiveRequest& request);

}  // namespace zantor
