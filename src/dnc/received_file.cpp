#include "dnc/received_file.h"

#include <array>
#include <vector>

#include "core/file_io.h"

namespace zantor {

namespace {

enum class Kind : uint8_t { Text, LineEnd, Dropped, EndOfText };

struct Conversion {
    std::array<Kind, 256> kind{};
    std::array<char, 256> text{};
};

Conversion conversionFor(TapeCode code) {
    Conversion c;
    for (int b = 0; b < 256; ++b) {
        const uint8_t byte = uint8_t(b);
        c.kind[size_t(b)] = Kind::Text;
        c.text[size_t(b)] = char(code == TapeCode::Eia     ? decodeEia(byte)
                                 : code == TapeCode::Ascii ? byte & 0x7F
                                                           : byte);
    }
    if (code == TapeCode::Iso) return c;
    c.kind[0x0A] = Kind::Dropped;
    c.kind[0x80] = Kind::LineEnd;
    if (code == TapeCode::Ascii) {
        c.kind[0x0D] = c.kind[0x8D] = Kind::LineEnd;
        c.kind[0x1A] = Kind::EndOfText;
    }
    return c;
}

}  // namespace

void convertReceivedFile(const std::string& captured, const std::string& target, TapeCode code) {
    const Conversion conversion = conversionFor(code);
    ReadableFile in(captured);
    AtomicFileWriter out(target, 0);
    std::vector<char> buffer(1 << 16), text(2 * buffer.size());
    bool afterLineEnd = false;
    bool ended = false;
    while (!ended) {
        const size_t n = in.read(buffer.data(), buffer.size());
        if (n == 0) break;
        char* o = text.data();
        for (size_t i = 0; i < n; ++i) {
            const uint8_t b = uint8_t(buffer[i]);
            switch (conversion.kind[b]) {
                case Kind::Text:
                    *o++ = conversion.text[b];
                    afterLineEnd = false;
                    break;
                case Kind::LineEnd:
                    if (!afterLineEnd) {
                        *o++ = '\r';
                        *o++ = '\n';
                        afterLineEnd = true;
                    }
                    break;
                case Kind::Dropped:
                    break;
                case Kind::EndOfText:
                    ended = true;
                    i = n;
                    break;
            }
        }
        out.write(std::string_view(text.data(), size_t(o - text.data())));
    }
    out.commit();
}

}  // namespace zantor
