#include "compare/difference_list.h"

#include <cstdio>

namespace zantor::compare {

namespace {

std::string lineNumber(long long line) {
    if (line == 0) return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3lld", line);
    return buffer;
}

}  // namespace

std::string DifferenceList::Cell(const DifferenceRow& row, int column) {
    switch (column) {
    case 0: {
        if (row.block == 0) return {};
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%2d", row.block);
        return buffer;
    }
    case 1: return std::string(row.change);
    case 2: return lineNumber(row.line1);
    case 3: return lineNumber(row.line2);
    case 4: return std::string(row.text);
    default: return {};
    }
}

std::string DifferenceList::HeadingCell(int headingRow, int column) {
    static const char* const first[] = {"Blk", "Change", "File 1", "File 2", ""};
    static const char* const second[] = {"#", "Type", "Line #", "Line #",
                                         " NC-Code Lines Added, Deleted, Modified"};
    if (column < 0 || column >= kDifferenceColumns) return {};
    return headingRow == 0 ? first[column] : second[column];
}

}  // namespace zantor::compare
