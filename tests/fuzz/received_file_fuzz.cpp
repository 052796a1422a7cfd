// The conversion of a received tape in each code: any bytes give text lines
// ended by CR LF under EIA and ASCII, and ISO leaves the bytes as they came.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "core/file_io.h"
#include "dnc/received_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // In memory where there is a memory file system: each input is written
    // and synced six times, which on a disk is nearly all of the run.
    static const std::string path =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
        "/zantor-fuzz-received-" + std::to_string(::getpid());
    for (const zantor::TapeCode code :
         {zantor::TapeCode::Eia, zantor::TapeCode::Ascii, zantor::TapeCode::Iso}) {
        zantor::writeFileAtomically(path, bytes);
        zantor::convertReceivedFile(path, code);
        const std::string text = zantor::readFileBytes(path);
        if (code == zantor::TapeCode::Iso) {
            FUZZ_CHECK(text == bytes);
            continue;
        }
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
            if (text[i] == '\n') FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
        }
    }
    ::unlink(path.c_str());
    return 0;
}
