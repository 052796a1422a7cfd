#include "compare/compare_report.h"

#include <cstdio>

namespace zantor::compare {

namespace {

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::string padLeft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string rowLine(const std::string& c0, const std::string& c1, const std::string& c2,
                    const std::string& c3, const std::string& c4) {
    return padLeft(c0, 3) + padLeft(c1, 7) + padLeft(c2, 7) + padLeft(c3, 7) + "  " + c4;
}

std::string age(double days) {
    if (days >= 1) return format("%3.1f days", days);
    if (days * 24 >= 1) return format("%2.1f hours", days * 24);
    return format("%2.1f minutes", days * 1440);
}

double timeOf(const TFileInfo& info) {
    return double(info.modified) + double(info.modifiedNanoseconds) / 1e9;
}

}  // namespace

std::string RunHeading1(const std::string& file1) { return "File 1, " + file1 + " compared to..."; }
std::string RunHeading2(const std::string& file2) { return "File 2, " + file2; }

std::vector<std::string> DifferenceListLines(const DifferenceListHeader& header,
                                             const DifferenceList& list,
                                             const CompareOptions& options, std::time_t now) {
    std::vector<std::string> lines{
        "Source Difference List as of: " + FormatReportTime(now),
        "",
        "Current File:" + header.current.fileName,
        header.current.Description(),
        "Previous File:" + header.previous.fileName,
        header.previous.Description(),
        "",
    };
    const std::string* files[] = {&header.fileHeading1, &header.fileHeading2};
    for (int h = 0; h < 2; ++h)
        lines.push_back(rowLine(DifferenceList::HeadingCell(h, 0), DifferenceList::HeadingCell(h, 1),
                                DifferenceList::HeadingCell(h, 2), DifferenceList::HeadingCell(h, 3),
                                h == 0 ? *files[0] : *files[1]));
    const auto& rows = list.Rows();
    if (rows.empty()) {
        lines.push_back(rowLine("", "", "", "", ""));
        return lines;
    }
    const bool separators = options.matching != MatchingLines::Adjacent;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (separators && i > 0 && rows[i].block != rows[i - 1].block) lines.push_back("---");
        const DifferenceRow& row = rows[i];
        lines.push_back(rowLine(DifferenceList::Cell(row, 0), DifferenceList::Cell(row, 1),
                                DifferenceList::Cell(row, 2), DifferenceList::Cell(row, 3),
                                std::string(row.text)));
    }
    return lines;
}

std::vector<std::string> FileInformationLines(const TFileInfo& a, const TFileInfo& b) {
    std::vector<std::string> lines{"File Information:"};
    const bool sameFolder = a.folder == b.folder;
    if (a.fileName != b.fileName) {
        lines.push_back(a.fileName + " compared to " + b.fileName);
    } else {
        lines.push_back(a.fileName);
        lines.push_back(sameFolder ? " File is compared to itself?"
                                   : " Files are in different directories.");
    }
    const double days = (timeOf(a) - timeOf(b)) / 86400.0;
    if (days > 0)
        lines.push_back(a.fileName + " is newer by " + age(days));
    else if (days == 0)
        lines.push_back("Files have same date and time.");
    else
        lines.push_back(a.fileName + " is older by " + age(-days));
    lines.push_back(a.Description());
    lines.push_back("Current File Path: " + a.folder);
    lines.push_back(b.Description());
    lines.push_back(sameFolder ? std::string("Previous File Path is same")
                               : "Previous File Path: " + b.folder);
    lines.push_back("----");
    return lines;
}

SummaryFacts FactsOf(const CompareResult& result, const TSourceList& current,
                     const TSourceList& previous) {
    SummaryFacts f;
    f.diffFound = result.diffFound;
    f.matchCount = result.matchCount;
    f.file1Name = current.FileName();
    f.file1Lines = current.Count();
    f.file1BlockStart = current.BlockStart();
    f.file1BlockEnd = current.BlockEnd();
    f.file2Name = previous.FileName();
    f.file2Lines = previous.Count();
    f.file2BlockStart = previous.BlockStart();
    f.file2BlockEnd = previous.BlockEnd();
    return f;
}

std::vector<std::string> SummaryStatisticsLines(const SummaryFacts& f) {
    std::vector<std::string> lines;
    if (f.diffFound) {
        lines.push_back(" Matching Lines: " + std::to_string(f.matchCount));
        const double percent = f.file1Lines > 0 ? double(f.matchCount) * 100 / double(f.file1Lines) : 0;
        lines.push_back(format(" Percent Lines Matching in current file: %2.1f", percent));
        if (percent < 20)
            lines.push_back("THESE TWO FILES SEEM TO BE UNRELATED!");
        else if (percent > 95)
            lines.push_back("Files are closely matched.");
        if (f.file1Lines != f.file2Lines) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "Lines total change (+/-): %2lld",
                          f.file1Lines - f.file2Lines);
            lines.push_back(buffer);
        }
    }
    const auto fileBlock = [&](const char* title, const std::string& name, long long count,
                               long long start, long long end) {
        lines.push_back(" ");
        lines.push_back(title + name);
        lines.push_back("Lines in this file: " + std::to_string(count));
        if (f.diffFound) {
            lines.push_back("First Line not matching: " + std::to_string(start));
            lines.push_back(" Last Line not matching: " + std::to_string(end));
        }
    };
    fileBlock("Current Text File: ", f.file1Name, f.file1Lines, f.file1BlockStart, f.file1BlockEnd);
    fileBlock("Previous Text File: ", f.file2Name, f.file2Lines, f.file2BlockStart, f.file2BlockEnd);
    lines.push_back("Comments:");
    return lines;
}

std::vector<std::string> SummaryOutputLines(const std::vector<std::string>& text, std::time_t now) {
    std::vector<std::string> lines{"Summary as of: " + FormatReportTime(now), "", ""};
    lines.insert(lines.end(), text.begin(), text.end());
    return lines;
}

std::vector<std::string> ListingLines(const TFileInfo& info, const TSourceList& list) {
    std::vector<std::string> lines{
        info.Description(),
        "Path: " + info.folder,
        "Lines in " + info.fileName + ": " + std::to_string(list.Count()),
        "-----------------------------------",
    };
    lines.reserve(size_t(list.Count()) + 4);
    char number[32];
    for (long long i = 0; i < list.Count(); ++i) {
        std::snprintf(number, sizeof number, "%3lld: ", i + 1);
        lines.push_back(number + std::string(list.Line(i)));
    }
    return lines;
}

std::string JoinReportLines(const std::vector<std::string>& lines) {
    std::string text;
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += kReportLineEnd;
    }
    return text;
}

}  // namespace zantor::compare
