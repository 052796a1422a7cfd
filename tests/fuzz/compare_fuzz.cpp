// The compare engine: two files loaded into line stores and run through the
// passes that fill the difference list, then written as reports.
//
// Input: one byte of options, then File 1 and File 2 parted by the first 0xFF
// byte (no 0xFF: File 2 is empty). Checked: every line of each file appears in
// the rows in order with its own text; "=" rows pair equal lines; block numbers
// run 1..diffCount; the counts of the result and of the summary agree with the
// rows; a file compared with itself, with a copy in other letter case (case
// ignored) or with its leading blanks removed (leading blanks ignored) is
// identical; a list of one file's lines is the full list with the other's left out.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "compare/compare_files.h"
#include "compare/compare_report.h"
#include "compare/compare_text_lines.h"
#include "compare/difference_list.h"
#include "compare/source_list.h"
#include "fuzz_check.h"

namespace {

using namespace zantor::compare;

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return (unsigned char)(c) <= 32; });
}

struct Run {
    TSourceList current{1};
    TSourceList previous{2};
    DifferenceList list;
    CompareResult result;
};

void compare(Run& run, const std::string& file1, const std::string& file2,
             const CompareOptions& options) {
    run.current.LoadText(file1);
    run.previous.LoadText(file2);
    NoCompareProgress progress;
    run.result = CompareFiles(run.current, run.previous, options, run.list, progress);
}

std::string_view shown(std::string_view line, const CompareOptions& options) {
    return options.labelBlankLines && isBlankLine(line) ? std::string_view(kBlankLineLabel) : line;
}

// The rows show both files whole and in order, each row with its own line.
void checkRows(const Run& run, const CompareOptions& options) {
    const auto& rows = run.list.Rows();
    const TCompareTextLines lines(options.excludeLeadingWhitespace, options.caseSensitive);
    long long last1 = 0;
    long long last2 = 0;
    long long shown1 = 0;
    long long shown2 = 0;
    long long equalRows = 0;
    int lastBlock = 0;
    std::set<int> blocks;
    for (const DifferenceRow& row : rows) {
        FUZZ_CHECK(row.line1 != 0 || row.line2 != 0);
        FUZZ_CHECK(row.line1 >= 0 && row.line1 <= run.current.Count());
        FUZZ_CHECK(row.line2 >= 0 && row.line2 <= run.previous.Count());
        if (row.line1 != 0) {
            FUZZ_CHECK(row.line1 > last1);
            last1 = row.line1;
            ++shown1;
        }
        if (row.line2 != 0) {
            FUZZ_CHECK(row.line2 > last2);
            last2 = row.line2;
            ++shown2;
        }
        const bool pair = row.line1 != 0 && row.line2 != 0;
        FUZZ_CHECK(pair == (row.block == 0));
        FUZZ_CHECK(pair == row.change.empty());
        if (pair) {
            ++equalRows;
            FUZZ_CHECK(lines.LinesEqual(run.current.Line(row.line1 - 1),
                                        run.previous.Line(row.line2 - 1)));
        } else {
            FUZZ_CHECK(row.block >= lastBlock);
            lastBlock = row.block;
            blocks.insert(row.block);
        }
        const std::string_view line = row.line1 != 0 ? run.current.Line(row.line1 - 1)
                                                     : run.previous.Line(row.line2 - 1);
        FUZZ_CHECK(row.text == shown(line, options));
    }
    // Blocks are numbered 1, 2, ... without a gap.
    FUZZ_CHECK(int(blocks.size()) == run.result.diffCount);
    FUZZ_CHECK(blocks.empty() || (*blocks.begin() == 1 && *blocks.rbegin() == run.result.diffCount));
    FUZZ_CHECK(run.result.diffFound == (run.result.diffCount > 0));

    // Every line is either in a difference row or matched (and counted),
    // whether or not its match is shown as an "=" row.
    FUZZ_CHECK(shown1 - equalRows + run.result.matchCount == run.current.Count());
    FUZZ_CHECK(shown2 - equalRows + run.result.matchCount == run.previous.Count());
    if (options.matching == MatchingLines::None) FUZZ_CHECK(equalRows == 0);
    if (options.matching == MatchingLines::All) FUZZ_CHECK(equalRows == run.result.matchCount);
    if (options.matching == MatchingLines::Adjacent) FUZZ_CHECK(equalRows <= run.result.matchCount);
}

void checkReports(const Run& run, const CompareOptions& options) {
    const CompareResult& result = run.result;
    const std::string& text = result.resultText;
    if (!result.diffFound)
        FUZZ_CHECK(text.rfind("  *** Files are Identical. ***", 0) == 0);
    else if (result.diffCount == 1)
        FUZZ_CHECK(text.rfind("  There is 1 difference.", 0) == 0);
    else
        FUZZ_CHECK(text.rfind("  There are " + std::to_string(result.diffCount) + " differences.", 0) == 0);

    const SummaryFacts facts = FactsOf(result, run.current, run.previous);
    FUZZ_CHECK(facts.matchCount == result.matchCount);
    FUZZ_CHECK(facts.file1Lines == run.current.Count());
    FUZZ_CHECK(facts.file2Lines == run.previous.Count());
    for (const auto& [start, end, count] :
         {std::tuple{facts.file1BlockStart, facts.file1BlockEnd, facts.file1Lines},
          std::tuple{facts.file2BlockStart, facts.file2BlockEnd, facts.file2Lines}}) {
        FUZZ_CHECK(start >= 0 && start <= end && end <= count);
        if (!result.diffFound) FUZZ_CHECK(start == 0 && end == 0);
    }
    const std::vector<std::string> summary = SummaryStatisticsLines(facts);
    const std::string lines1 = "Lines in this file: " + std::to_string(run.current.Count());
    FUZZ_CHECK(std::find(summary.begin(), summary.end(), lines1) != summary.end());
    if (result.diffFound) {
        const std::string matching = " Matching Lines: " + std::to_string(result.matchCount);
        FUZZ_CHECK(std::find(summary.begin(), summary.end(), matching) != summary.end());
    }

    // The saved list: seven lines of header, two heading rows, then the rows
    // (one empty row for an empty list) with "---" between blocks.
    const auto& rows = run.list.Rows();
    const std::vector<std::string> saved = DifferenceListLines({}, run.list, options, 0);
    FUZZ_CHECK(saved.size() >= 10);
    size_t at = 9;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (at < saved.size() && saved[at] == "---" && i > 0) ++at;
        FUZZ_CHECK(at < saved.size());
        const std::string& line = saved[at++];
        FUZZ_CHECK(line.size() >= rows[i].text.size() &&
                   line.compare(line.size() - rows[i].text.size(), std::string::npos,
                                rows[i].text) == 0);
    }
    FUZZ_CHECK(at == saved.size() || (rows.empty() && at + 1 == saved.size()));

    // The listing numbers every line of File 1 in order.
    const std::vector<std::string> listing = ListingLines({}, run.current);
    FUZZ_CHECK((long long)(listing.size()) == run.current.Count() + 4);
    for (long long i = 0; i < run.current.Count(); ++i) {
        const std::string& line = listing[size_t(i) + 4];
        const std::string_view source = run.current.Line(i);
        FUZZ_CHECK(line.size() > source.size() &&
                   line.compare(line.size() - source.size(), std::string::npos, source) == 0);
    }
}

// A copy of `file` that the options must not tell from it: letters in the
// other case, a blank put before every line.
std::string variantOf(const std::string& file, const CompareOptions& options) {
    std::string copy;
    for (size_t i = 0; i < file.size(); ++i) {
        const bool lineStart = i == 0 || ((file[i - 1] == '\r' || file[i - 1] == '\n') &&
                                          !(file[i - 1] == '\r' && file[i] == '\n'));
        if (options.excludeLeadingWhitespace && lineStart) copy += ' ';
        const char c = file[i];
        copy += !options.caseSensitive && c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    return copy;
}

void checkIdentical(const std::string& file, const CompareOptions& options) {
    for (const std::string& other : {file, variantOf(file, options)}) {
        Run run;
        compare(run, file, other, options);
        FUZZ_CHECK(!run.result.diffFound);
        FUZZ_CHECK(run.result.matchCount == run.current.Count());
        checkRows(run, options);
        checkReports(run, options);
    }
}

// With one file's lines displayed, the list is the full one less the rows of
// the other file only, each captioned the same whether or not it is folded.
void checkOneFile(const Run& both, const std::string& file1, const std::string& file2,
                  CompareOptions options) {
    const bool firstOnly = options.displayed == DisplayedLines::FirstOnly;
    Run run;
    compare(run, file1, file2, options);
    FUZZ_CHECK(run.result.diffCount == both.result.diffCount);
    FUZZ_CHECK(run.result.matchCount == both.result.matchCount);
    std::vector<const DifferenceRow*> kept;
    for (const DifferenceRow& row : both.list.Rows())
        if ((firstOnly ? row.line1 : row.line2) != 0) kept.push_back(&row);
    const auto& rows = run.list.Rows();
    FUZZ_CHECK(rows.size() == kept.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(rows[i].block == kept[i]->block);
        FUZZ_CHECK(rows[i].line1 == kept[i]->line1 && rows[i].line2 == kept[i]->line2);
        FUZZ_CHECK(rows[i].text == kept[i]->text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t bits = data[0];
    CompareOptions options;
    options.caseSensitive = bits & 1;
    options.excludeLeadingWhitespace = bits & 2;
    options.labelBlankLines = bits & 4;
    options.matching = MatchingLines((bits >> 3) % 3);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t cut = rest.find('\xff');
    const std::string file1(rest.substr(0, cut));
    const std::string file2(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));

    Run run;
    compare(run, file1, file2, options);
    checkRows(run, options);
    checkReports(run, options);

    options.displayed = (bits & 0x40) ? DisplayedLines::SecondOnly : DisplayedLines::FirstOnly;
    checkOneFile(run, file1, file2, options);
    options.displayed = DisplayedLines::Both;

    checkIdentical(file1, options);
    return 0;
}
