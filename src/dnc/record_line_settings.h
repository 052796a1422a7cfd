#pragma once

#include "machines/mach_com_rec.h"

namespace zantor {

class ComPort;

// Sets the port's line and handshaking from a machine record (list index to
// value); an index outside its list leaves that setting as it was.
void applyRecordLineSettings(ComPort& port, const MachComRec& record);

}  // namespace zantor
