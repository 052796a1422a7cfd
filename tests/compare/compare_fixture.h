#pragma once

#include <string>
#include <vector>

#include "compare/compare_files.h"

namespace zantor::compare::testing {

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

// Both files loaded from lines and compared.
struct Comparing {
    TSourceList current{1};
    TSourceList previous{2};
    DifferenceList list;
    CompareResult result;

    Comparing(const std::vector<std::string>& file1, const std::vector<std::string>& file2,
              const CompareOptions& options = {}) {
        current.LoadText(joinLines(file1));
        previous.LoadText(joinLines(file2));
        NoCompareProgress progress;
        result = CompareFiles(current, previous, options, list, progress);
    }

    // Each row as "blk|change|line1|line2|text".
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (const auto& row : list.Rows()) {
            std::string text;
            for (int c = 0; c < kDifferenceColumns; ++c)
                text += (c ? "|" : "") + DifferenceList::Cell(row, c);
            out.push_back(text);
        }
        return out;
    }
};

}  // namespace zantor::compare::testing
