#pragma once

#include <string>

namespace zantor {

struct DncStation;

// Waits for the machine's XON before a send: the terminal input is off and
// the port's software flow control is off meanwhile, so that the XON
// arrives as a byte; every other byte is discarded. False when "Stop
// Waiting" ended it.
bool waitForXon(DncStation& station, const std::string& machineName);

// Waits before a receive until the first byte has arrived (it stays in the
// input queue for the receive). False when "Stop Waiting" ended it.
bool waitForFirstChar(DncStation& station, const std::string& machineName);

}  // namespace zantor
