#pragma once

#include <sys/resource.h>

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

// Processor seconds (user and system) of the programs run since the last
// call, read from the finished children's accounts: unlike wall-clock time,
// this barely moves when other work shares the machine.
inline double childCpuSeconds() {
    static double before = 0;
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const double now = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    const double spent = now - before;
    before = now;
    return spent;
}

}  // namespace zantor
