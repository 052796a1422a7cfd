#pragma once

#include <string>
#include <vector>

namespace zantor {

// What the program was started with: "CNCREMOTE" first (exactly so) makes an
// unattended remote station for the machine named second; every argument that
// names an existing file is opened.
struct CommandLine {
    bool remoteMode = false;
    std::string remoteMachine;  // empty: the current machine
    std::vector<std::string> files;
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

}  // namespace zantor
