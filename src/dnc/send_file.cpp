#include "dnc/send_file.h"

#include <array>

#include "core/file_io.h"
#include "dnc/work_file.h"

namespace zantor {

void requireEiaCodes(const std::vector<EscapePiece>& pieces, const std::string& what) {
    for (const EscapePiece& p : pieces) {
        if (p.isValue || hasEiaCode(uint8_t(p.character))) continue;
        throw TapeCodeError(what + ", column " + std::to_string(p.at + 1) + ": " +
                            describeCharacter(uint8_t(p.character)) + " has no EIA code");
    }
}

uint8_t inTapeCode(char c, TapeCode code) {
    switch (code) {
        case TapeCode::Eia:
            return encodeEia(uint8_t(c));
        case TapeCode::Ascii:
            return addEvenParity(uint8_t(c));
        case TapeCode::Iso:
            break;
    }
    return uint8_t(c);
}

std::string writeStringWithEscapes(std::string_view text, TapeCode code, const std::string& what) {
    const std::vector<EscapePiece> pieces = parseSlashEscapes(text);
    if (code == TapeCode::Eia) requireEiaCodes(pieces, what);
    std::string bytes;
    for (const EscapePiece& p : pieces)
        bytes += p.isValue ? char(((p.value % 256) + 256) % 256) : char(inTapeCode(p.character, code));
    return bytes;
}

void prepareSendFile(const std::string& body, const std::string& sendFile,
                     const TapeOptions& options) {
    const std::string start = writeStringWithEscapes(options.StartSend, options.code,
                                                     "The start string");
    const std::string end = writeStringWithEscapes(options.EndSend, options.code,
                                                   "The end string");
    const std::string leader(
        options.LeaderLen > 0 ? size_t(options.LeaderLen) * 10 + 1 : size_t(0), '\0');
    ReadableFile in(body);
    AtomicFileWriter out(sendFile);
    out.write(start);
    out.write(leader);
    std::array<char, 65536> buffer;
    while (const size_t n = in.read(buffer.data(), buffer.size()))
        out.write(std::string_view(buffer.data(), n));
    out.write(leader);
    out.write(end);
    out.commit();
}

void prepareDiskFile(const std::string& source, const std::string& workFile,
                     const std::string& sendFile, const TapeOptions& options) {
    buildWorkFile(source, workFile, options, source);
    prepareSendFile(workFile, sendFile, options);
}

}  // namespace zantor
