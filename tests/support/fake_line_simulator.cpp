#include "fake_line_simulator.h"

namespace zantor::testing {

FakeLineSimulator::FakeLineSimulator(FakeSerialDevice& device, Clock& clock,
                                     MachineProfile profile)
    : MachineSimulator(profile), device_(device), clock_(clock) {
    device_.peer().onByte = [this](uint8_t b) {
        const char c = char(b);
        lineReceived(std::string_view(&c, 1));
    };
}

FakeLineSimulator::~FakeLineSimulator() {
    device_.peer().onByte = nullptr;
    for (const Clock::CallbackId id : pending_) clock_.cancel(id);
}

void FakeLineSimulator::lineWrite(std::string_view bytes) {
    device_.peer().write(bytes);
}

void FakeLineSimulator::schedule(Duration delay, std::function<void()> callback) {
    auto id = std::make_shared<Clock::CallbackId>();
    *id = clock_.callAfter(delay, [this, id, callback = std::move(callback)] {
        pending_.erase(*id);
        {
            std::lock_guard lock(mutex_);
            callback();
        }
        changed();
    });
    pending_.insert(*id);
}

MachineSimulator::Duration FakeLineSimulator::characterTime() const {
    return zantor::characterTime(device_.peer().lineSettings());
}

}  // namespace zantor::testing
