#include "dnc/machine_waits.h"

#include "dnc/dnc_station.h"
#include "dnc/port/com_port.h"
#include "dnc/port_status_sink.h"

namespace zantor {

bool waitForXon(DncStation& station, const std::string& machineName) {
    ComPort& port = station.port;
    station.sink.setPortInput(false);
    station.waiting.showWaiting("Waiting for " + machineName + " to send an XON ...");
    const TSWFlowOptions flow = port.SWFlowOptions();
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    bool xon = false;
    port.clock().waitUntil(
        [&] {
            while (!xon && port.bytesWaiting() > 0) {
                const uint8_t b = port.readByte();
                if (station.VerboseMode)
                    station.sink.writeTerminalLine("Wait Char received=[" + std::to_string(b) +
                                                   "]");
                xon = b == port.XOnChar();
            }
            return xon || station.waiting.stopWaiting() || !port.Open();
        },
        Clock::kForever, WaitMode::Responsive);
    station.sink.setPortInput(true);
    station.waiting.hideWaiting();
    port.setSWFlowOptions(flow);
    return xon;
}

bool waitForFirstChar(DncStation& station, const std::string& machineName) {
    ComPort& port = station.port;
    station.sink.setPortInput(false);
    station.waiting.showWaiting("Waiting for " + machineName + " to send ...");
    port.clock().waitUntil(
        [&] { return port.bytesWaiting() > 0 || station.waiting.stopWaiting() || !port.Open(); },
        Clock::kForever, WaitMode::Responsive);
    station.waiting.hideWaiting();
    return !station.waiting.stopWaiting();
}

}  // namespace zantor
