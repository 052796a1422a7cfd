#include "dnc/port/status_lights.h"

#include "dnc/port/com_port.h"

namespace zantor {

StatusLights::StatusLights(ComPort& port, QObject* parent)
    : QObject(parent),
      port_(port),
      rxdTimer_(port.addTimer()),
      txdTimer_(port.addTimer()),
      errTimer_(port.addTimer()),
      brkTimer_(port.addTimer()),
      ringTimer_(port.addTimer()) {
    connect(&port_, &ComPort::dataAvailable, this, &StatusLights::onData);
    connect(&port_, &ComPort::dataQueued, this, &StatusLights::onQueued);
    connect(&port_, &ComPort::lineStatusChanged, this, &StatusLights::onLineStatus);
    connect(&port_, &ComPort::timerFired, this, &StatusLights::onTimer);
}

void StatusLights::setMonitoring(bool on) {
    monitoring_ = on;
    if (!on) {
        if (!(lights_ == LightStates{})) {
            lights_ = {};
            emit lightsChanged();
        }
        return;
    }
    followModemLines();
    if (port_.bytesWaiting() > 0) onData();
    if (port_.outputQueued() > 0) onQueued();
}

void StatusLights::set(bool LightStates::*light, bool on) {
    if (lights_.*light == on) return;
    lights_.*light = on;
    emit lightsChanged();
}

void StatusLights::followModemLines() {
    const ModemLines lines = port_.Open() ? port_.modemLines() : ModemLines{};
    set(&LightStates::cts, lines.cts);
    set(&LightStates::dsr, lines.dsr);
    set(&LightStates::dcd, lines.dcd);
}

void StatusLights::onData() {
    if (!monitoring_) return;
    set(&LightStates::rxd, true);
    port_.armTimer(rxdTimer_, 1);
}

void StatusLights::onQueued() {
    if (!monitoring_) return;
    set(&LightStates::txd, true);
    port_.armTimer(txdTimer_, 1);
}

void StatusLights::onLineStatus(unsigned events) {
    if (!monitoring_) return;
    if (events & (kCtsChanged | kDsrChanged | kDcdChanged)) followModemLines();
    if (events & kLineError) {
        set(&LightStates::err, true);
        port_.armTimer(errTimer_, kFlashTicks);
    }
    if (events & kBreak) {
        set(&LightStates::brk, true);
        port_.armTimer(brkTimer_, kFlashTicks);
    }
    if (events & kRing) {
        set(&LightStates::ring, true);
        port_.armTimer(ringTimer_, kRingTicks);
    }
}

void StatusLights::onTimer(int handle) {
    if (!monitoring_) return;
    // RXD and TXD re-arm every tick only while data is moving.
    if (handle == rxdTimer_) {
        if (port_.bytesWaiting() > 0)
            port_.armTimer(rxdTimer_, 1);
        else
            set(&LightStates::rxd, false);
    } else if (handle == txdTimer_) {
        if (port_.outputQueued() > 0)
            port_.armTimer(txdTimer_, 1);
        else
            set(&LightStates::txd, false);
    } else if (handle == errTimer_) {
        set(&LightStates::err, false);
    } else if (handle == brkTimer_) {
        set(&LightStates::brk, false);
    } else if (handle == ringTimer_) {
        set(&LightStates::ring, false);
    }
}

}  // namespace zantor
