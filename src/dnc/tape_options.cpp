#include "dnc/tape_options.h"

#include "machines/machine_settings.h"
#include "session/run_state.h"

namespace zantor {

TapeOptions tapeOptionsFor(const MachineSettings& machine, const AppSettings& settings) {
    TapeOptions o;
    o.code = tapeCodeOf(machine.Comm.TapeCode);
    o.StripBlankLines = machine.Format.StripBlankLines;
    o.FilterLineFeeds = machine.Format.FilterLineFeeds;
    o.LineCommentChar = settings.LineCommentChar;
    o.LeaderLen = machine.Comm.LeaderLen;
    o.StartSend = machine.Comm.StartSend;
    o.EndSend = machine.Comm.EndSend;
    return o;
}

}  // namespace zantor
