#pragma once

#include <string>
#include <vector>

namespace zantor::testing {

struct ProcessResult {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a program to its end with `input` on its standard input.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = "");

}  // namespace zantor::testing
