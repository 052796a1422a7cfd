#include <CLI/CLI.hpp>
#include <ctime>
#include <iostream>
#include <map>
#include <memory>

#include "cli/command_set.h"
#include "compare/compare_error.h"
#include "compare/compare_files.h"
#include "compare/compare_report.h"
#include "compare/file_pair.h"

namespace zantor::cli {

namespace {

using namespace zantor::compare;

struct CompareArguments {
    CompareOptions options;
    bool summary = false;
    std::string first;
    std::string second;
};

// Exit statuses as diff and cmp have them, so scripts can test the outcome.
enum CompareStatus { Same = 0, Different = 1, Trouble = 2 };

int runCompare(CliContext& context, const CompareArguments& a) {
    if (IsRefusedExtension(a.first) || IsRefusedExtension(a.second))
        throw CliError{"Non-ASCII Files can't be analyzed. (in this version)"};
    const FilePair pair = AssignByModification(a.first, a.second);
    TSourceList current(1), previous(2);
    current.SetFileName(pair.file1);
    previous.SetFileName(pair.file2);
    try {
        current.Load();
        previous.Load();
    } catch (const CompareError& error) {
        std::string text = error.what();
        for (char& c : text)
            if (c == '\r') c = ' ';
        throw CliError{text + (error.cause().empty() ? "" : " (" + error.cause() + ")")};
    }
    if (current.Count() == 0 || previous.Count() == 0) throw CliError{kEmptyFiles};

    DifferenceList list;
    NoCompareProgress progress;
    const CompareResult result = CompareFiles(current, previous, a.options, list, progress);
    const std::time_t now = std::time(nullptr);
    const DifferenceListHeader header{pair.current(), pair.previous(), RunHeading1(pair.file1),
                                      RunHeading2(pair.file2)};
    std::string output = JoinReportLines(DifferenceListLines(header, list, a.options, now));
    if (a.summary) {
        std::vector<std::string> text = FileInformationLines(pair.chosenFirst, pair.chosenSecond);
        text.push_back(result.resultText);
        const auto statistics = SummaryStatisticsLines(FactsOf(result, current, previous));
        text.insert(text.end(), statistics.begin(), statistics.end());
        output += JoinReportLines(SummaryOutputLines(text, now));
    }
    context.out.write(output.data(), std::streamsize(output.size()));
    context.out.flush();
    if (!context.out) throw CliError{"cannot write the difference list to standard output"};
    return result.diffFound ? Different : Same;
}

}  // namespace

void addCompareCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<CompareArguments>();
    CLI::App* command = commands.add(
        app, "compare",
        "Compare two NC programs line by line and print the difference list as the File "
        "Compare window saves it. The newer file is File 1 (current). Exit status 0 when the "
        "files match, 1 when they differ, 2 on an error.",
        [a](CliContext& context) { return runCompare(context, *a); });
    command->add_flag("--case-sensitive", a->options.caseSensitive, "Letter case matters");
    command->add_flag("--exclude-leading-whitespace", a->options.excludeLeadingWhitespace,
                      "Blanks at the start of a line do not count");
    command->add_flag("--label-blank-lines", a->options.labelBlankLines,
                      "Show blank lines as {BLANK LINE}");
    const std::map<std::string, MatchingLines> matching{
        {"none", MatchingLines::None}, {"all", MatchingLines::All}, {"adjacent", MatchingLines::Adjacent}};
    command->add_option("--matching", a->options.matching, "Matching lines listed: none, all, adjacent")
        ->transform(CLI::CheckedTransformer(matching, CLI::ignore_case));
    const std::map<std::string, DisplayedLines> display{
        {"both", DisplayedLines::Both}, {"first", DisplayedLines::FirstOnly}, {"second", DisplayedLines::SecondOnly}};
    command->add_option("--display", a->options.displayed, "Lines listed: both, first, second")
        ->transform(CLI::CheckedTransformer(display, CLI::ignore_case));
    command->add_flag("--summary", a->summary, "Print the summary report after the list");
    command->add_option("FILE1", a->first, "One version of the program")->required();
    command->add_option("FILE2", a->second, "The other version")->required();
}

}  // namespace zantor::cli
