#pragma once

#include <string>

#include "machines/mach_com_rec.h"

namespace zantor {

struct DncStation;

// The single send of the DNC station, the same for the window's Send and
// for the command line: the log line "DNC Send File [" sentName "]", the
// queues emptied, the machine's SendInit, the wait for its XON when it asks
// for one, then the engine set up for the machine and started on
// `sendFile`. It returns once the transfer runs; the engine's finish event
// reports the end. False when nothing was started (the XON wait was
// stopped, or the init string could not be sent). Throws TapeCodeError,
// before anything is logged or sent, when SendInit cannot be sent in EIA.
bool singleSend(DncStation& station, const MachComRec& machine, const std::string& machineName,
                bool rtsLowForWrite, const std::string& sendFile, const std::string& sentName);

// Before a send starts: a published protocol's answers (its start
// requests, acknowledgements) belong to the transfer, so the terminal
// stops taking the port's input; the end of the transfer gives it back.
void keepTerminalOffProtocolAnswers(DncStation& station);

// After a transfer: RTS held up for KeepRtsDelay seconds, then dropped for
// DropRtsDelay seconds, each with its lines on the terminal screen.
void runRtsDelays(DncStation& station, const MachComRec& machine);

}  // namespace zantor
