#include "dnc/tape_file.h"

#include <array>

#include "core/file_io.h"
#include "dnc/tape_options.h"

namespace zantor {

namespace {

// Where the first byte without an EIA code is, found again from the start.
EiaProblem locateEiaProblem(const std::string& source) {
    ReadableFile in(source);
    std::array<char, 65536> buffer;
    TextPosition at;
    while (const size_t n = in.read(buffer.data(), buffer.size())) {
        const std::string_view chunk(buffer.data(), n);
        if (const auto problem = findEiaProblem(chunk, at)) return *problem;
        for (const char c : chunk) at.advance(uint8_t(c));
    }
    return EiaProblem{at, 0};
}

}  // namespace

void encodeTapeFile(const std::string& source, const std::string& target, TapeCode code) {
    std::array<char, 256> table{};
    std::array<uint8_t, 256> unknown{};
    for (int b = 0; b < 256; ++b) {
        const uint8_t byte = uint8_t(b);
        table[size_t(b)] = char(code == TapeCode::Eia     ? encodeEia(byte)
                                : code == TapeCode::Ascii ? addEvenParity(byte)
                                                          : byte);
        unknown[size_t(b)] = code == TapeCode::Eia && !hasEiaCode(byte);
    }
    ReadableFile in(source);
    AtomicFileWriter out(target, 0);
    std::array<char, 65536> buffer;
    while (const size_t n = in.read(buffer.data(), buffer.size())) {
        uint8_t bad = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint8_t b = uint8_t(buffer[i]);
            bad |= unknown[b];
            buffer[i] = table[b];
        }
        if (bad) throw TapeCodeError(source + ", " + describeEiaProblem(locateEiaProblem(source)));
        out.write(std::string_view(buffer.data(), n));
    }
    out.commit();
}

}  // namespace zantor
