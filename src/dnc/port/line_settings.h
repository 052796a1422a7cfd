#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace zantor {

enum class TParity { pNone, pOdd, pEven, pMark, pSpace };

// The framing of the characters on a serial line.
struct LineSettings {
    int32_t Baud = 4800;
    uint16_t DataBits = 7;
    TParity Parity = TParity::pEven;
    // 1 = one stop bit; 2 and 5 (what the machine dialog's "1.5" passes) = two.
    uint16_t StopBits = 1;

    bool operator==(const LineSettings&) const = default;
};

// The stop bits the line really uses, in half bits: with 5 data bits the line
// always uses 1.5 stop bits, otherwise 1 or 2.
int stopHalfBits(const LineSettings& settings);

// Bits of one character on the wire (start, data, parity, stop), in half bits
// so that 1.5 stop bits count exactly.
int frameHalfBits(const LineSettings& settings);

// The time one character takes on the line.
std::chrono::nanoseconds characterTime(const LineSettings& settings);

// The letter of the parity name: "N", "O", "E", "M", "S".
char parityLetter(TParity parity);

// "7E1" style: data bits, parity letter, stop bits as set.
std::string frameText(const LineSettings& settings);

// The rates a port can be set to, in the order of a machine record's baud index.
// The rates above 115200 come last so that stored indexes keep their meaning.
inline constexpr std::array<int32_t, 14> kSupportedBauds = {
    110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

bool isSupportedBaud(int32_t baud);

}  // namespace zantor
