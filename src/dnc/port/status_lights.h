#pragma once

#include <QObject>

namespace zantor {

class ComPort;

struct LightStates {
    bool cts = false, dsr = false, dcd = false;
    bool rxd = false, txd = false;
    bool err = false, brk = false, ring = false;
    bool operator==(const LightStates&) const = default;
};

// The feed of the terminal window's status lights from a port. Its timers are
// port timers: create it before anything else connects to the port's
// timerFired, so the lights see each timer first and the window after them.
class StatusLights : public QObject {
    Q_OBJECT
public:
    static constexpr int kFlashTicks = 36;  // ERR and BRK
    static constexpr int kRingTicks = 8;

    explicit StatusLights(ComPort& port, QObject* parent = nullptr);

    // Off: every light goes dark and the port's events are ignored.
    void setMonitoring(bool on);
    bool monitoring() const { return monitoring_; }
    const LightStates& lights() const { return lights_; }

signals:
    void lightsChanged();

private:
    void onData();
    void onQueued();
    void onLineStatus(unsigned events);
    void onTimer(int handle);
    void followModemLines();
    void set(bool LightStates::*light, bool on);

    ComPort& port_;
    bool monitoring_ = false;
    LightStates lights_;
    int rxdTimer_, txdTimer_, errTimer_, brkTimer_, ringTimer_;
};

}  // namespace zantor
