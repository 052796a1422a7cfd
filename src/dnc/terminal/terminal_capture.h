#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace zantor {

inline constexpr const char* kCaptureFileName = "ZTR2013.LOG";

// "Capture Terminal": what the terminal screen shows, appended to the
// capture file as it arrives. A file that cannot be opened or written
// ends the capture with the system's reason, and what was written stays.
class TerminalCapture {
public:
    // Empty when the capture runs, else why it could not start.
    std::string start(const std::string& path);
    void stop();
    bool active() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // Empty when written; else the capture has stopped and this says why.
    std::string write(std::string_view bytes);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
};

}  // namespace zantor
