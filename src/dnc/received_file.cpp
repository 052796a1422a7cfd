#include "dnc/received_file.h"

#include <array>
#include <cstring>
#include <vector>

#include "core/file_io.h"
#include "dnc/tape_file.h"

namespace zantor {

namespace {

// The conversion runs in two passes over each chunk: a table turns every
// byte into its text byte in place, and marks the bytes with a meaning of
// their own by values that no text byte has (text is 7-bit); then the text
// between line ends is copied in runs. It keeps up with the disk.
constexpr uint8_t kLineEnd = 0xFF;
constexpr uint8_t kDropped = 0xFE;
constexpr uint8_t kEndOfText = 0xFD;
constexpr uint16_t kHasDropped = 0x100;
constexpr uint16_t kHasEndOfText = 0x200;

std::array<uint16_t, 256> conversionFor(TapeCode code) {
    std::array<uint16_t, 256> c{};
    for (int b = 0; b < 256; ++b) {
        c[size_t(b)] = code == TapeCode::Eia ? decodeEia(uint8_t(b)) : uint8_t(b & 0x7F);
        // Whatever reads as a line feed (0x8A under ASCII: a line feed with
        // a parity fault) goes with the line feeds, and a CR it would give
        // ends the line: the text has no line end but CR LF.
        if (c[size_t(b)] == '\n') c[size_t(b)] = kDropped | kHasDropped;
        if (c[size_t(b)] == '\r') c[size_t(b)] = kLineEnd;
    }
    c[0x0A] = kDropped | kHasDropped;
    c[0x80] = kLineEnd;
    if (code == TapeCode::Ascii) {
        c[0x0D] = c[0x8D] = kLineEnd;
        c[0x1A] = kEndOfText | kHasEndOfText;
    }
    return c;
}

// Copies text bytes, leaving out the dropped ones; the count copied.
size_t copyText(const uint8_t* from, const uint8_t* to, char* out, bool hasDropped) {
    if (!hasDropped) {
        std::memcpy(out, from, size_t(to - from));
        return size_t(to - from);
    }
    size_t n = 0;
    for (; from < to; ++from)
        if (*from != kDropped) out[n++] = char(*from);
    return n;
}

}  // namespace

void convertReceivedFile(const std::string& captured, const std::string& target, TapeCode code) {
    if (code == TapeCode::Iso) {
        encodeTapeFile(captured, target, TapeCode::Iso);
        return;
    }
    const std::array<uint16_t, 256> conversion = conversionFor(code);
    ReadableFile in(captured);
    AtomicFileWriter out(target, 0);
    std::vector<uint8_t> buffer(1 << 18);
    std::vector<char> text(2 * buffer.size());
    bool afterLineEnd = false;
    bool ended = false;
    while (!ended) {
        size_t n = in.read(reinterpret_cast<char*>(buffer.data()), buffer.size());
        if (n == 0) break;
        uint8_t* bytes = buffer.data();
        unsigned flags = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t entry = conversion[bytes[i]];
            flags |= entry;
            bytes[i] = uint8_t(entry);
        }
        if (flags & kHasEndOfText) {
            n = size_t(static_cast<const uint8_t*>(std::memchr(bytes, kEndOfText, n)) - bytes);
            ended = true;
        }
        char* o = text.data();
        const uint8_t* const end = bytes + n;
        for (const uint8_t* p = bytes; p < end;) {
            auto q = static_cast<const uint8_t*>(std::memchr(p, kLineEnd, size_t(end - p)));
            if (!q) q = end;
            const size_t copied = copyText(p, q, o, flags & kHasDropped);
            if (copied > 0) afterLineEnd = false;
            o += copied;
            if (q < end) {
                // A run of line ends gives one.
                if (!afterLineEnd) {
                    *o++ = '\r';
                    *o++ = '\n';
                    afterLineEnd = true;
                }
                ++q;
            }
            p = q;
        }
        out.write(std::string_view(text.data(), size_t(o - text.data())));
    }
    out.commit();
}

}  // namespace zantor
