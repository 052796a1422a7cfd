#include "dnc/station_close.h"

#include <algorithm>

#include "dnc/port/com_port.h"

namespace zantor {

namespace {

bool machineHeldByUs(const ComPort& port) {
    const FlowState state = port.flowState();
    return state == FlowState::ReceiveHeldXoffSent || state == FlowState::BothHeld;
}

void releaseMachine(ComPort& port) {
    Clock& clock = port.clock();
    Clock::Duration lastHeard = clock.now();
    const QMetaObject::Connection reading = QObject::connect(&port, &ComPort::dataAvailable, [&] {
        port.discardInput();
        lastHeard = clock.now();
    });
    port.discardInput();  // an empty input queue sends our XON
    const Clock::Duration limit = clock.now() + kReleaseLimit;
    while (port.Open()) {
        const Clock::Duration until = std::min(lastHeard + kReleaseQuiet, limit);
        if (clock.now() >= until) break;
        clock.waitUntil([&] { return !port.Open(); }, until - clock.now(),
                        WaitMode::IgnoreUserInput);
    }
    QObject::disconnect(reading);
}

}  // namespace

void closeStationPort(ComPort& port) {
    if (!port.Open()) return;
    if (machineHeldByUs(port)) releaseMachine(port);
    port.setDtr(false);
    port.close();
}

}  // namespace zantor
