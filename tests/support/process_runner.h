#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace zantor::testing {

struct ProcessResult {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a program to its end with `input` on its standard input. `started`
// learns the child's pid (to signal it from another thread).
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         const std::function<void(pid_t)>& started = {});

}  // namespace zantor::testing
