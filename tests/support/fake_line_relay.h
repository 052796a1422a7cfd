#pragma once

// Header only: for test and benchmark programs that link zantor_dnc_port.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dnc/port/fake_serial_device.h"

namespace zantor::testing {

// Joins the far ends of two fake devices, as a cable between two stations
// would; `alter` may change or drop (nullopt) each byte on its way, counted
// per direction from 0.
struct FakeLineRelay {
    using Alter = std::function<std::optional<uint8_t>(uint8_t byte, size_t index)>;

    FakeLineRelay(FakeSerialDevice& a, FakeSerialDevice& b, Alter aToB = {}, Alter bToA = {}) {
        join(a, b, std::move(aToB), aToBCount);
        join(b, a, std::move(bToA), bToACount);
    }

    size_t aToBCount = 0, bToACount = 0;

private:
    static void join(FakeSerialDevice& from, FakeSerialDevice& to, Alter alter, size_t& count) {
        from.peer().onByte = [&to, alter = std::move(alter), &count](uint8_t byte) {
            const size_t index = count++;
            const std::optional<uint8_t> out = alter ? alter(byte, index) : byte;
            if (out) to.peer().write(std::string(1, char(*out)));
        };
    }
};

}  // namespace zantor::testing
