#pragma once

#include <map>
#include <optional>
#include <string>

namespace zantor {

class IniFile;

// Port numbers to device paths: section "PORTS" of ZTR2013.INI maps n to a
// path (1=/dev/ttyUSB0, stable names under /dev/serial/by-id welcome);
// without an entry port n is /dev/ttyS(n-1).
class PortMap {
public:
    static PortMap fromSettings(const IniFile& settings);
    void set(int number, std::string path) { paths_[number] = std::move(path); }
    std::string devicePath(int number) const;

private:
    std::map<int, std::string> paths_;
};

// A port as the user names it: a number, or a device path.
struct PortChoice {
    int number = 0;    // 0 when a path was given
    std::string path;  // empty when a number was given
};

// "3" -> port 3; "/dev/ttyUSB0" -> that path; nullopt for anything else
// (a number below 1 or above 65535 included).
std::optional<PortChoice> parsePortChoice(const std::string& text);

// "COM" and the number, as the program shows a port.
std::string comName(int number);

}  // namespace zantor
