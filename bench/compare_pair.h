#pragma once

// Two versions of a generated program of 1,000,000 lines (about 39 MB each)
// where 1 % of the lines are changed, added or deleted in scattered blocks.
#include <cstdio>
#include <random>
#include <string>

#include "temp_folder.h"

namespace zantor {

inline constexpr int kLines = 1000000;

struct ProgramPair {
    std::string current;
    std::string previous;
    long long bytes = 0;
};

inline std::string programLine(int n, int variant) {
    char line[96];
    const int length = std::snprintf(line, sizeof line, "N%d G1X%.4fY%.4f%s\r\n", n,
                                     (n % 9973) * 0.0137 + variant * 0.5, (n % 7919) * -0.0211,
                                     n % 10 == 0 ? "(CUT X1.)" : n % 7 == 0 ? "S1200 F25." : "Z-1.25");
    return std::string(line, size_t(length));
}

// The previous version, and the current one made from it by blocks of 1 to
// 10 lines edited, inserted or deleted, about one block every 550 lines.
inline const ProgramPair& programPair() {
    static testing::TempFolder folder;
    static const ProgramPair pair = [] {
        std::mt19937 random(16);
        std::string previous, current;
        previous.reserve(size_t(kLines) * 40);
        current.reserve(size_t(kLines) * 40);
        int changed = 0;
        for (int n = 1; n <= kLines;) {
            if (random() % 550 == 0) {
                const int length = 1 + int(random() % 10);
                switch (random() % 3) {
                case 0:  // edited
                    for (int i = 0; i < length && n <= kLines; ++i, ++n) {
                        previous += programLine(n, 0);
                        current += programLine(n, 1);
                    }
                    break;
                case 1:  // inserted into the current version
                    for (int i = 0; i < length; ++i) current += "(ADDED " + std::to_string(n) + ")\r\n";
                    break;
                default:  // deleted from it
                    for (int i = 0; i < length && n <= kLines; ++i, ++n) previous += programLine(n, 0);
                }
                changed += length;
                continue;
            }
            previous += programLine(n, 0);
            current += programLine(n, 0);
            ++n;
        }
        ProgramPair p;
        p.previous = folder.write("PREVIOUS.TAP", previous);
        p.current = folder.write("CURRENT.TAP", current);
        p.bytes = (long long)(previous.size() + current.size());
        std::fprintf(stderr, "compare pair: %d changed lines, %lld bytes\n", changed, p.bytes);
        return p;
    }();
    return pair;
}

}  // namespace zantor
