#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "compare/compare_files.h"
#include "compare/compare_options.h"
#include "compare/difference_list.h"
#include "compare/file_info.h"

namespace zantor::compare {

// Line end of the reports written to files and to standard output.
inline constexpr const char* kReportLineEnd = "\r\n";

// What the saved or printed difference list shows above and in its rows.
struct DifferenceListHeader {
    TFileInfo current;        // File 1
    TFileInfo previous;       // File 2
    std::string fileHeading1;  // column 4 of the two heading rows
    std::string fileHeading2;
};

// Column 4 of the heading rows once a run has read the files.
std::string RunHeading1(const std::string& file1);
std::string RunHeading2(const std::string& file2);

// The difference list as saved, one entry per line, without line ends.
std::vector<std::string> DifferenceListLines(const DifferenceListHeader& header,
                                             const DifferenceList& list,
                                             const CompareOptions& options, std::time_t now);

// The summary's block about the two files, `a` and `b` in the order chosen.
std::vector<std::string> FileInformationLines(const TFileInfo& a, const TFileInfo& b);

// What the summary report adds after the result lines of the runs.
struct SummaryFacts {
    bool diffFound = false;
    long long matchCount = 0;
    std::string file1Name;
    long long file1Lines = 0;
    long long file1BlockStart = 0;
    long long file1BlockEnd = 0;
    std::string file2Name;
    long long file2Lines = 0;
    long long file2BlockStart = 0;
    long long file2BlockEnd = 0;
};
SummaryFacts FactsOf(const CompareResult& result, const TSourceList& current,
                     const TSourceList& previous);
std::vector<std::string> SummaryStatisticsLines(const SummaryFacts& facts);

// The summary as printed or saved: a dated title, two empty lines, the text.
std::vector<std::string> SummaryOutputLines(const std::vector<std::string>& text, std::time_t now);

// A numbered listing of a file for the summary window.
std::vector<std::string> ListingLines(const TFileInfo& info, const TSourceList& list);

// The lines joined, each ended by kReportLineEnd.
std::string JoinReportLines(const std::vector<std::string>& lines);

}  // namespace zantor::compare
