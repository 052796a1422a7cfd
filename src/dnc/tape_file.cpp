#include "dnc/tape_file.h"

#include <array>
#include <vector>

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
    // One lookup a byte: the code in the low byte, 0x100 for a byte that has
    // none.
    std::array<uint16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const uint8_t byte = uint8_t(b);
        table[size_t(b)] = code == TapeCode::Eia     ? encodeEia(byte)
                           : code == TapeCode::Ascii ? addEvenParity(byte)
                                                     : byte;
        if (code == TapeCode::Eia && !hasEiaCode(byte)) table[size_t(b)] |= 0x100;
    }
    ReadableFile in(source);
    AtomicFileWriter out(target, 0);
    std::vector<uint8_t> buffer(1 << 18);
    while (const size_t n = in.read(reinterpret_cast<char*>(buffer.data()), buffer.size())) {
        unsigned flags = 0;
        uint8_t* bytes = buffer.data();
        for (size_t i = 0; i < n; ++i) {
            const uint16_t entry = table[bytes[i]];
            flags |= entry;
            bytes[i] = uint8_t(entry);
        }
        if (flags & 0x100)
            throw TapeCodeError(source + ", " + describeEiaProblem(locateEiaProblem(source)));
        out.write(std::string_view(reinterpret_cast<const char*>(bytes), n));
    }
    out.commit();
}

}  // namespace zantor
