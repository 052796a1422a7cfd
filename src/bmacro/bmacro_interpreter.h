#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zantor::editor {
class TextDocument;
}

namespace zantor {

// What a B-Macro run needs besides the program.
struct BMacroOptions {
    std::string CommentStart = "(";
    std::string CommentEnd = ")";
    int decimals = 4;                 // D: values are written into text with this many
    bool keepComments = true;         // "Keep Comments"
    std::string stopCode = "M00";     // "Program Stop Code"
    std::vector<std::string> predefined{"(Define Variables Here)"};  // "Pre-Defined Variables"
    long long maxSteps = 0;           // executed lines at most; 0: no limit
};

// The person and the window around a run.
class BMacroHost {
public:
    virtual ~BMacroHost() = default;
    // An error box.
    virtual void error(const std::string& text) = 0;
    // "Input a Number": the prompt and the proposed value; none when cancelled.
    virtual std::optional<double> askNumber(const std::string& prompt, double proposed) = 0;
    // Called after each program line: the line, the percentage done and the
    // line's text; true when Cancel was pressed.
    virtual bool lineDone(int line, int percent, const std::string& text) = 0;
};

struct BMacroOutcome {
    long long linesExecuted = 0;
    bool cancelled = false;
    bool stepLimitReached = false;  // the run was stopped at maxSteps
    int lastLine = 0;               // the program line where the run ended
};

// The output file a run proposes: the program's name with ".OUT" for its extension.
std::string macroOutputName(const std::string& programFile);

// Runs the program lines of `program` as a B-Macro: numbered variables,
// bracketed expressions, assignments, IF, WHILE/DO/END, GOTO; every other
// line is NC code, written to `output` with its variables and expressions
// replaced by numbers. The program is only read.
BMacroOutcome runBMacro(const editor::TextDocument& program, const BMacroOptions& options,
                        BMacroHost& host, const std::function<void(const std::string&)>& output);

}  // namespace zantor
