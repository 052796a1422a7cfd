#include "dnc/simulator/received_programs.h"

#include <cstdio>

#include "core/file_io.h"
#include "dnc/received_file.h"

namespace zantor::sim {

ReceivedPrograms::ReceivedPrograms(std::string folder, TapeCode code, Clock::duration quiet)
    : folder_(std::move(folder)), code_(code), quiet_(quiet) {
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::string ReceivedPrograms::programBytes(std::string_view chunk, TapeCode code) {
    std::string bytes;
    bytes.reserve(chunk.size());
    for (const char c : chunk) {
        const auto b = uint8_t(c);
        if (b == 0) continue;
        if (code != TapeCode::Eia && ((b & 0x7F) == 0x11 || (b & 0x7F) == 0x13)) continue;
        bytes += c;
    }
    return bytes;
}

std::optional<std::string> ReceivedPrograms::update(std::string_view received,
                                                    Clock::time_point now) {
    if (received.size() != seen_) {
        seen_ = received.size();
        lastChange_ = now;
        return std::nullopt;
    }
    if (filed_ >= received.size() || now - lastChange_ < quiet_) return std::nullopt;
    const std::string program = programBytes(received.substr(filed_), code_);
    filed_ = received.size();
    if (program.empty()) return std::nullopt;
    const std::string target = nextFileName();
    // Decoded through a capture file beside the target, as a receive does.
    const std::string captured = target + ".part";
    writeFileAtomically(captured, program);
    try {
        convertReceivedFile(captured, target, code_);
    } catch (...) {
        std::remove(captured.c_str());
        throw;
    }
    std::remove(captured.c_str());
    return target;
}

std::string ReceivedPrograms::nextFileName() const {
    return freeName(folder_);
}

std::string ReceivedPrograms::freeName(const std::string& folder) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "SIM%04d.TAP", n);
        const std::string path = prefix + name;
        if (!fileExists(path) && !fileExists(path + ".part")) return path;
    }
}

}  // namespace zantor::sim
