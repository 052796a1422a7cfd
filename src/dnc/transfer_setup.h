#pragma once

#include "machines/mach_com_rec.h"

namespace zantor {

class FileTransfer;

enum class TransferDirection { Sending, Receiving };

// Applies a machine's record to the transfer engine before a transfer:
// delays, time-outs, protocol and the CR and LF translations of the
// direction (CrOut/LfOut when sending, CrIn/LfIn when receiving); an index
// outside its list leaves that setting as it was.
//
// The tape code decides the rest. Under EIA, 0x1A (the code of "(" and ":")
// is data both ways, and 0x0D is the code of "*": no CR or LF translation
// applies, and the line delay follows the end-of-block code 0x80. Under
// ASCII the line delay follows 0x8D, the carriage return with its parity
// bit, which is how the lines of an ASCII tape end.
void setupForMachine(FileTransfer& transfer, const MachComRec& machine, bool rtsLowForWrite,
                     TransferDirection direction);

}  // namespace zantor
