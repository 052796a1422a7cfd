#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zantor::compare {

// One row of the difference list. Texts point into the compared files' bytes
// (kept alive by the list) or at fixed captions, so a list of a million rows
// holds no copies of the lines.
struct DifferenceRow {
    int block = 0;              // difference number; 0 on "=" rows
    std::string_view change;    // the mark during the run, then its caption
    long long line1 = 0;        // 1-based line in File 1; 0 when none
    long long line2 = 0;        // 1-based line in File 2; 0 when none
    std::string_view text;      // the line, or "{BLANK LINE}"
};

inline constexpr int kDifferenceColumns = 5;
inline constexpr const char* kBlankLineLabel = "{BLANK LINE}";

// The rows of a comparison below the two heading rows. An empty list shows
// as one empty data row.
class DifferenceList {
public:
    std::vector<DifferenceRow>& Rows() { return rows_; }
    const std::vector<DifferenceRow>& Rows() const { return rows_; }
    // The texts the rows point into.
    void Keep(std::shared_ptr<const std::string> text) { texts_.push_back(std::move(text)); }
    void Clear() {
        rows_.clear();
        texts_.clear();
    }

    // Column `column` of data row `row` as the grid, the saved list and the
    // clipboard show it: "%2d", the caption, "%.3d", "%.3d", the text.
    static std::string Cell(const DifferenceRow& row, int column);
    // The two fixed heading rows; column 4 names the files.
    static std::string HeadingCell(int headingRow, int column);

private:
    std::vector<DifferenceRow> rows_;
    std::vector<std::shared_ptr<const std::string>> texts_;
};

}  // namespace zantor::compare
