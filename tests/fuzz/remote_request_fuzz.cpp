// The remote requests on untrusted bytes: whatever a machine types, a target
// the station accepts lies inside the machine's folders.
#include <cstdint>
#include <filesystem>
#include <string>

#include "dnc/remote_request.h"
#include "fuzz_check.h"
#include "machines/machine_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 512) return 0;
    // Input: the tape code byte, then the request's bytes; a NUL splits a
    // path request's argument from the file's.
    const auto code = zantor::TapeCode(data[0] % 3);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string text = zantor::requestTextFromLine(bytes, code, code == zantor::TapeCode::Ascii);
    const size_t split = text.find('\0');
    const std::string path = zantor::requestArgument(text.substr(0, split));
    const std::string file =
        zantor::requestArgument(split == std::string::npos ? text : text.substr(split + 1));

    zantor::MachineFormat machine;
    machine.DownloadFolder = "/tmp/zantor-fuzz-shop/nc";
    machine.UploadFolder = "/tmp/zantor-fuzz-shop/in";
    const std::string remotePath = zantor::remotePathAccepted(machine, path) ? path : "";
    for (const auto request : {zantor::RemoteRequest::Send, zantor::RemoteRequest::Receive,
                               zantor::RemoteRequest::Directory}) {
        const zantor::RemoteTarget t = zantor::remoteTargetPath(machine, remotePath, request, file);
        if (t.refused) continue;
        const std::string normal = std::filesystem::path(t.path).lexically_normal().string();
        FUZZ_CHECK(normal.rfind("/tmp/zantor-fuzz-shop/nc/", 0) == 0 ||
                   normal.rfind("/tmp/zantor-fuzz-shop/in/", 0) == 0);
    }
    return 0;
}
