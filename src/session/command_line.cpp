#include "session/command_line.h"

#include "core/file_io.h"

namespace zantor {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    line.remoteMode = !args.empty() && args.front() == "CNCREMOTE";
    if (line.remoteMode && args.size() >= 2) line.remoteMachine = args[1];
    for (const std::string& arg : args)
        if (fileExists(arg)) line.files.push_back(arg);
    return line;
}

}  // namespace zantor
