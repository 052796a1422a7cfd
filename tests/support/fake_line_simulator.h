#pragma once

#include <set>

#include "dnc/port/clock.h"
#include "dnc/port/fake_serial_device.h"
#include "machine_simulator.h"

namespace zantor::testing {

// The simulated control on the peer end of a FakeSerialDevice, in the time
// of the device's clock: characters take their frame time on the line with
// the peer's framing.
class FakeLineSimulator : public MachineSimulator {
public:
    FakeLineSimulator(FakeSerialDevice& device, Clock& clock, MachineProfile profile);
    ~FakeLineSimulator() override;

protected:
    void lineWrite(std::string_view bytes) override;
    void schedule(Duration delay, std::function<void()> callback) override;
    Duration characterTime() const override;

private:
    FakeSerialDevice& device_;
    Clock& clock_;
    std::set<Clock::CallbackId> pending_;
};

}  // namespace zantor::testing
