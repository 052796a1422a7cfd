#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "process_runner.h"

namespace zantor {

// Wall-clock seconds a program takes from start to exit; a failure is told
// on stderr, as its time then means nothing.
inline double secondsOf(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    const testing::ProcessResult r = testing::runProcess(argv);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (r.status != 0) std::fprintf(stderr, "%s failed: %s\n", argv[0].c_str(), r.err.c_str());
    return took.count();
}

}  // namespace zantor
