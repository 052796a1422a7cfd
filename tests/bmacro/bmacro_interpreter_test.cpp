#include "bmacro/bmacro_interpreter.h"

#include <gtest/gtest.h>

#include <deque>
#include <ostream>

#include "editor/nc_document.h"

namespace zantor {
namespace {

class RecordingHost : public BMacroHost {
public:
    void error(const std::string& text) override { errors.push_back(text); }
    std::optional<double> askNumber(const std::string& prompt, double proposed) override {
        prompts.push_back(prompt);
        proposals.push_back(proposed);
        if (typed.empty()) return std::nullopt;
        const double v = typed.front();
        typed.pop_front();
        return v;
    }
    bool lineDone(int line, int, const std::string&) override { return line == cancelAtLine; }

    std::vector<std::string> errors, prompts;
    std::vector<double> proposals;
    std::deque<double> typed;
    int cancelAtLine = 0;
};

struct Result {
    std::vector<std::string> lines;
    BMacroOutcome outcome;
};

Result run(const std::string& program, RecordingHost& host, BMacroOptions options = {}) {
    editor::NcDocument doc;
    std::string text;
    for (const char c : program) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    doc.InsertText(text);
    Result r;
    r.outcome = runBMacro(doc, options, host, [&](const std::string& l) { r.lines.push_back(l); });
    return r;
}

using Lines = std::vector<std::string>;

struct ProgramCase {
    const char* name;
    const char* program;
    Lines output;  // after the pre-defined "(Define Variables Here)"
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.name;
}

class BMacroPrograms : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(BMacroPrograms, WriteTheExpandedCode) {
    RecordingHost host;
    const Result r = run(GetParam().program, host);
    Lines expected{"(Define Variables Here)"};
    expected.insert(expected.end(), GetParam().output.begin(), GetParam().output.end());
    EXPECT_EQ(r.lines, expected);
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
}

INSTANTIATE_TEST_SUITE_P(
    Statements, BMacroPrograms,
    ::testing::Values(
        ProgramCase{"VariablesRoundToTheMachinesDecimals", "#1=1/3\nX#1\nIF[#1EQ0.3333]G00X0",
                    {"X0.3333", "G00X0"}},
        ProgramCase{"BlockNumbersAndBlanksGo", "#2=5\nN10 G01 X[1+1] Y#2 (SIDE)",
                    {"G01X2.0000Y5.0000(SIDE)"}},
        ProgramCase{"CommentOnlyLine", "(ONLY A COMMENT)", {"(ONLY A COMMENT)"}},
        ProgramCase{"SecondCommentStays", "G01 (ONE) X1 (TWO)", {"G01X1(TWO)(ONE)"}},
        ProgramCase{"WhileLoopRunsThreeTimes",
                    "#1=0\nWHILE[#1LT3]DO1\nX#1\n#1=#1+1\nEND1\nM30",
                    {"X0.0000", "X1.0000", "X2.0000", "M30"}},
        ProgramCase{"NestedLoops",
                    "#1=0\nWHILE[#1LT2]DO1\n#2=0\nWHILE[#2LT2]DO2\nX#1Y#2\n#2=#2+1\nEND2\n"
                    "#1=#1+1\nEND1",
                    {"X0.0000Y0.0000", "X0.0000Y1.0000", "X1.0000Y0.0000", "X1.0000Y1.0000"}},
        ProgramCase{"GotoSkipsLines", "GOTO30\nX1\nN30 X3", {"X3"}},
        ProgramCase{"IfThenAssigns", "#1=1\nIF[#1EQ1]THEN#2=5\nIF[#1GT0]GOTO40\nX9\nN40 Y#2",
                    {"Y5.0000"}},
        ProgramCase{"IndirectVariablesAndFunctions", "#1=4\n#[#1+1]=#1*2\n#2=SQRT[#5]\nX#2",
                    {"X2.8284"}},
        ProgramCase{"StopCodeEndsTheRunAfterItsLine", "X1\nM00\nX2", {"X1", "M00"}},
        ProgramCase{"LowerCaseKeywordsAreOutput", "goto10\nN10 X1", {"goto10", "X1"}},
        ProgramCase{"PositionsFollowTheModalCode",
                    "X5\nG01 X1 Y2 Z3\nU1 W-1\nG00 X#5001 Y#5002 Z#5003",
                    {"X5", "G01X1Y2Z3", "U1W-1", "G00X2.0000Y2.0000Z2.0000"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* program;
    const char* error;
    bool stops;
};

TEST(BMacro, ErrorsAreReportedAndTheSeriousOnesStopTheRun) {
    const ErrorCase cases[] = {
        {"X#7\nX1", "Variable [7] Not Defined", false},
        {"X#\nX1", "Bad variable ReferenceX#", false},
        {"X[1+2\nX1", "Unbalanced Brackets [] in ExpressionX[1+2", false},
        {"X[1/0]\nX1", "Cannot Evaluate ExpressionDivision by zero\r\n[1/>>0]", false},
        {"IF[1]GOTO5\nX1", "Invalid Logical OperatorIF[1]GOTO5", false},
        {"GOTO20\nX1", "GOTO: Target Line \"N20\" Not Found", true},
        {"A=1\nX1", "First Character of a Variable Assignment Must be \"#\"A=1", true},
        {"#1=2*+3\nX1", "Cannot Evaluate Right Side of AssignmentIncorrect syntax\r\n2*>>+3", true},
        {"#3000=7 (TOOL BROKEN)\nX1", "Macro Alarm #3000\r\nMSG= (TOOL BROKEN)\r\nNUM= 7.0000", true},
        {"#[0-1]=1\nX1", "Variable number [-1] out of range (1 to 32767) in line 1", true},
        {"#65535=1\nX1", "Variable number [65535] out of range (1 to 32767) in line 1", true},
        {"WHILE[1GT2]DO4\nX1", "\"DO/END\" Number out or Range [4]", true},
        {"WHILE[1GT2]DO1\nX1", "Target DO/END number [1] Not Found", true},
    };
    for (const ErrorCase& c : cases) {
        RecordingHost host;
        const Result r = run(c.program, host);
        ASSERT_FALSE(host.errors.empty()) << c.program;
        EXPECT_EQ(host.errors.front(), c.error) << c.program;
        const bool wroteX1 = !r.lines.empty() && r.lines.back() == "X1";
        EXPECT_EQ(wroteX1, !c.stops) << c.program;
    }
}

TEST(BMacro, APromptAsksForTheValueAndCancelRaisesTheAlarm) {
    RecordingHost host;
    host.typed = {7.5};
    Result r = run("#1=2 (DEPTH ?\?)\nZ#1", host);
    EXPECT_EQ(host.prompts, Lines{"(DEPTH ?\?)"});
    EXPECT_EQ(host.proposals, std::vector<double>{2});
    EXPECT_EQ(r.lines.back(), "Z7.5000");

    RecordingHost cancelling;
    r = run("#1=2 (DEPTH ?\?)\nZ#1", cancelling);
    EXPECT_EQ(cancelling.errors, Lines{"Macro Alarm #3000\r\nMSG= \r\nNUM= 0.0000"});
    EXPECT_EQ(r.lines, Lines{"(Define Variables Here)"});
}

TEST(BMacro, ARunawayLoopStopsAtTheStepLimitOrCancel) {
    BMacroOptions options;
    options.maxSteps = 1000;
    RecordingHost host;
    Result r = run("N10 X1\nGOTO10", host, options);
    EXPECT_TRUE(r.outcome.stepLimitReached);
    EXPECT_EQ(host.errors.size(), 1u);
    EXPECT_LE(r.lines.size(), 1000u);

    RecordingHost cancelling;
    cancelling.cancelAtLine = 2;
    r = run("DO1\nX1\nEND1", cancelling);  // DO1 without WHILE loops until Cancel
    EXPECT_TRUE(r.outcome.cancelled);
    EXPECT_EQ(r.lines.back(), "X1");
}

TEST(BMacro, AnEmptyProgramRunsThePreDefinedLinesOnly) {
    RecordingHost host;
    EXPECT_EQ(run("", host).lines, Lines{"(Define Variables Here)"});
}

TEST(BMacro, WithoutKeepCommentsACommentLineIsEmpty) {
    BMacroOptions options;
    options.keepComments = false;
    options.predefined.clear();
    RecordingHost host;
    EXPECT_EQ(run("(NOTE)\nX1 (A)", host, options).lines, (Lines{"", "X1"}));
}

}  // namespace
}  // namespace zantor
