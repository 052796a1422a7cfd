#include "bmacro/bmacro_interpreter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "bmacro/expression_evaluator.h"
#include "core/real_text.h"
#include "editor/text_document.h"

namespace zantor {

namespace {

constexpr int kSlots = 1000;
constexpr int kFreeSlot = -1;
constexpr int kAlarmVariable = 3000;
constexpr int kLastVariable = 32767;

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The number a text holds when all of it reads as one (a sign allowed); none otherwise.
std::optional<double> wholeNumber(std::string_view text) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty() || text[0] == '+') return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The variables of one run: slots filled from the first on, never freed.
class VariableTable {
public:
    VariableTable() {
        numbers_.fill(kFreeSlot);
        for (const int n : {5001, 5002, 5003}) set(n, 0);
    }
    const double* find(int number) const {
        for (int i = 0; i < kSlots && numbers_[size_t(i)] != kFreeSlot; ++i)
            if (numbers_[size_t(i)] == number) return &values_[size_t(i)];
        return nullptr;
    }
    bool set(int number, double value) {
        for (int i = 0; i < kSlots; ++i) {
            if (numbers_[size_t(i)] == number || numbers_[size_t(i)] == kFreeSlot) {
                numbers_[size_t(i)] = number;
                values_[size_t(i)] = value;
                return true;
            }
        }
        return false;
    }

private:
    std::array<int, kSlots> numbers_;
    std::array<double, kSlots> values_{};
};

class Run {
public:
    Run(const editor::TextDocument& program, const BMacroOptions& options, BMacroHost& host,
        const std::function<void(const std::string&)>& output)
        : program_(program), o_(options), host_(host), output_(output) {}

    BMacroOutcome run() {
        for (const std::string& line : o_.predefined) {
            comment_.clear();
            execute(prepare(line, true));
            if (stop_ || limitReached(0)) return finish();
        }
        const int count = program_.ParagraphCount();
        if (count == 0) return finish();  // an empty program: the pre-defined lines only
        for (line_ = 1;;) {
            const int executed = line_;  // a jump changes line_
            const std::string raw = program_.GetParagraph(executed);
            execute(prepare(raw, true));
            const int percent = int(std::lround(100.0 * executed / count));
            outcome_.cancelled = host_.lineDone(executed, percent, raw);
            if (line_ >= count || outcome_.cancelled || stop_ || limitReached(executed)) break;
            ++line_;
        }
        return finish();
    }

private:
    BMacroOutcome finish() {
        outcome_.lastLine = line_;
        return outcome_;
    }

    bool limitReached(int line) {
        ++outcome_.linesExecuted;
        if (o_.maxSteps <= 0 || outcome_.linesExecuted < o_.maxSteps) return false;
        outcome_.stepLimitReached = true;
        host_.error("Stopped after " + std::to_string(o_.maxSteps) +
                    " executed lines, at line " + std::to_string(line) +
                    ": a loop that never ends?");
        return true;
    }

    std::string fixed(double value) const {
        char text[400];  // the widest double in fixed notation with 15 decimals
        const auto end =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, o_.decimals).ptr;
        return std::string(text, end);
    }

    // The line made ready to execute: its first comment cut out (and kept
    // for the line when wanted), blanks and tabs gone, no block number.
    std::string prepare(std::string line, bool keepComment) {
        std::string comment;
        const size_t start = o_.CommentStart.empty() ? std::string::npos : line.find(o_.CommentStart);
        if (start != std::string::npos) {
            size_t end = o_.CommentEnd.empty()
                             ? std::string::npos
                             : line.find(o_.CommentEnd[0], start + o_.CommentStart.size());
            end = end == std::string::npos ? line.size() : end + 1;
            comment = line.substr(start, end - start);
            line.erase(start, end - start);
        }
        if (keepComment) comment_ = comment;
        std::string text;
        for (const char c : line)
            if (c != ' ' && c != '\t') text += c;
        if (!text.empty() && text[0] == 'N') {
            size_t n = 1;
            while (n < text.size() && isNumberChar(text[n])) ++n;
            text.erase(0, n);
        }
        return text;
    }

    void execute(const std::string& text) {
        if (contains(text, "IF")) {
            std::string remainder;
            if (!condition(text, remainder)) return;
            if (const size_t then = remainder.find("THEN"); then != std::string::npos)
                remainder.erase(then, 4);
            execute(remainder);
        } else if (contains(text, "WHILE")) {
            std::string remainder;
            if (!condition(text, remainder) && !jumpToLoopEnd(text)) stop_ = true;
        } else if (contains(text, "DO")) {
            // a loop's start line without WHILE: nothing to do
        } else if (contains(text, "END")) {
            jumpToLoopStart(text);
        } else if (contains(text, "GOTO")) {
            if (!jumpTo(text)) stop_ = true;
        } else if (contains(text, "=")) {
            if (!assign(text)) stop_ = true;
        } else {
            outputLine(text);
        }
    }

    // Variables replaced by their values with D decimals; false when one was
    // missing or undefined (the text then lacks that reference).
    bool replaceVariables(std::string& text) {
        bool ok = true;
        for (size_t hash; (hash = text.find('#')) != std::string::npos;) {
            size_t end = hash + 1;
            while (end < text.size() && std::isdigit(uint8_t(text[end]))) ++end;
            if (end == hash + 1) {
                host_.error("Bad variable Reference" + text);
                return false;
            }
            const std::string digits = text.substr(hash + 1, end - hash - 1);
            text.erase(hash, end - hash);
            const long number = digits.size() > 6 ? -1 : std::strtol(digits.c_str(), nullptr, 10);
            const double* value = number >= 0 && number <= kLastVariable ? table_.find(int(number)) : nullptr;
            if (!value) {
                host_.error("Variable [" + digits + "] Not Defined");
                ok = false;
                continue;
            }
            text.insert(hash, fixed(*value));
        }
        return ok;
    }

    // The first "[" and its matching "]"; npos when unbalanced.
    static size_t matchingBracket(const std::string& text, size_t open) {
        int depth = 0;
        for (size_t i = open; i < text.size(); ++i) {
            if (text[i] == '[') ++depth;
            if (text[i] == ']' && --depth == 0) return i;
        }
        return std::string::npos;
    }

    bool replaceBrackets(std::string& text) {
        for (size_t open; (open = text.find('[')) != std::string::npos;) {
            const size_t close = matchingBracket(text, open);
            if (close == std::string::npos) {
                host_.error("Unbalanced Brackets [] in Expression" + text);
                return false;
            }
            const std::string bracketed = text.substr(open, close - open + 1);
            const EvalResult r = Evaluate(bracketed);
            if (r.code != kEvalOk) {
                host_.error("Cannot Evaluate Expression" + std::string(evalErrorMessage(r.code)) +
                            "\r\n" + marked(bracketed, r.position));
                return false;
            }
            text.replace(open, close - open + 1, fixed(r.value));
        }
        return true;
    }

    static std::string marked(std::string text, int position) {
        const size_t at = position <= 0 ? 0 : std::min(size_t(position - 1), text.size());
        return text.insert(at, ">>");
    }

    std::optional<double> operand(std::string text) {
        if (!replaceVariables(text) || !replaceBrackets(text)) return std::nullopt;
        return wholeNumber(text);
    }

    bool condition(const std::string& text, std::string& remainder) {
        const size_t open = text.find('[');
        const size_t close = open == std::string::npos ? open : matchingBracket(text, open);
        if (close == std::string::npos) {
            host_.error("Unbalanced Brackets [] in Expression" + text);
            return false;
        }
        remainder = text.substr(close + 1);
        const std::string inside = text.substr(open + 1, close - open - 1);
        static const char* const operators[] = {"EQ", "NE", "GT", "LT", "GE", "LE"};
        for (const char* op : operators) {
            const size_t at = inside.find(op);
            if (at == std::string::npos) continue;
            const std::optional<double> a = operand("[" + inside.substr(0, at) + "]");
            const std::optional<double> b = operand("[" + inside.substr(at + 2) + "]");
            if (!a || !b) return false;
            const std::string o = op;
            if (o == "EQ") return std::fabs(*a - *b) < 0.00005;
            if (o == "NE") return !(std::fabs(*a - *b) < 0.00005);
            if (o == "GT") return *a > *b;
            if (o == "LT") return *a < *b;
            if (o == "GE") return *a >= *b;
            return *a <= *b;
        }
        host_.error("Invalid Logical Operator" + text);
        return false;
    }

    // The number after a keyword, rounded; 0 when it is not a number.
    static long numberAfter(const std::string& text, const char* keyword) {
        const size_t at = text.find(keyword);
        if (at == std::string::npos) return 0;
        const std::optional<double> n = wholeNumber(text.substr(at + std::string(keyword).size()));
        return n ? std::lround(std::nearbyint(*n)) : 0;
    }

    // The loop number of a WHILE or END line, checked; 0 after an error box.
    int loopNumber(const std::string& text, const char* keyword) {
        if (!contains(text, keyword)) {
            host_.error("Invalid \"DO/END\" Statement" + text);
            return 0;
        }
        const long n = numberAfter(text, keyword);
        if (n < 1 || n > 3) {
            host_.error("\"DO/END\" Number out or Range [" + std::to_string(n) + "]");
            return 0;
        }
        return int(n);
    }

    bool jumpToLoopEnd(const std::string& text) {
        const int n = loopNumber(text, "DO");
        if (n == 0) return false;
        for (int l = line_ + 1; l <= program_.ParagraphCount(); ++l) {
            const std::string other = prepare(program_.GetParagraph(l), false);
            if (contains(other, "END") && numberAfter(other, "END") == n) {
                line_ = l;  // the run goes on after the END line
                return true;
            }
        }
        host_.error("Target DO/END number [" + std::to_string(n) + "] Not Found");
        return false;
    }

    void jumpToLoopStart(const std::string& text) {
        const int n = loopNumber(text, "END");
        if (n == 0) return;
        for (int l = line_ - 1; l >= 1; --l) {
            const std::string other = prepare(program_.GetParagraph(l), false);
            if (contains(other, "DO") && numberAfter(other, "DO") == n) {
                line_ = l - 1;  // the WHILE line is evaluated again
                return;
            }
        }
        host_.error("Target DO/END number [" + std::to_string(n) + "] Not Found");
    }

    bool jumpTo(const std::string& text) {
        const std::optional<double> n = wholeNumber(text.substr(text.find("GOTO") + 4));
        const long target = n ? std::lround(std::nearbyint(*n)) : 0;
        for (int l = 1; l <= program_.ParagraphCount(); ++l) {
            std::string other;
            for (const char c : program_.GetParagraph(l))
                if (c != ' ' && c != '\t') other += c;
            if (other.size() < 2 || other[0] != 'N' || !std::isdigit(uint8_t(other[1]))) continue;
            size_t end = 1;
            while (end < other.size() && std::isdigit(uint8_t(other[end]))) ++end;
            if (std::strtol(other.substr(1, std::min<size_t>(end - 1, 12)).c_str(), nullptr, 10) ==
                target) {
                line_ = l - 1;
                return true;
            }
        }
        host_.error("GOTO: Target Line \"N" + std::to_string(target) + "\" Not Found");
        return false;
    }

    bool assign(const std::string& text) {
        if (text.empty() || text[0] != '#') {
            host_.error("First Character of a Variable Assignment Must be \"#\"" + text);
            return false;
        }
        const size_t equals = text.find('=');
        std::string left = text.substr(1, equals - 1);
        replaceVariables(left);
        const EvalResult l = Evaluate(left);
        if (l.code != kEvalOk) {
            host_.error("Cannot Evaluate Left Side of Assignment" +
                        std::string(evalErrorMessage(l.code)) + "\r\n" + marked(left, l.position));
            return false;
        }
        std::string right = text.substr(equals + 1);
        replaceVariables(right);
        const EvalResult r = Evaluate(right);
        if (r.code != kEvalOk) {
            host_.error("Cannot Evaluate Right Side of Assignment" +
                        std::string(evalErrorMessage(r.code)) + "\r\n" + marked(right, r.position));
            return false;
        }
        double value = r.value;
        if (contains(comment_, "??")) {
            const std::optional<double> typed = host_.askNumber(comment_, value);
            if (!typed) {
                host_.error("Macro Alarm #3000\r\nMSG= \r\nNUM= " + fixed(0));
                return false;
            }
            value = *typed;
        }
        const double number = std::nearbyint(l.value);
        if (number == kAlarmVariable) {
            host_.error("Macro Alarm #3000\r\nMSG= " + comment_ + "\r\nNUM= " + fixed(value));
            return false;
        }
        // Numbers are kept in 16 bits: one outside them would stand for
        // another variable, or for a free slot and hide every later one.
        if (number < 1 || number > kLastVariable) {
            host_.error("Variable number [" + fixed(number).substr(0, fixed(number).find('.')) +
                        "] out of range (1 to 32767) in line " + std::to_string(line_));
            return false;
        }
        if (!table_.set(int(number), value)) {
            host_.error("More than " + std::to_string(kSlots) + "] Variables Defined");
            return false;
        }
        return true;
    }

    // The number after the first `letter` of the text, when one follows it.
    static std::optional<double> numberAfterLetter(const std::string& text, char letter) {
        const size_t at = text.find(letter);
        if (at == std::string::npos) return std::nullopt;
        size_t end = at + 1;
        while (end < text.size() && isNumberChar(text[end])) ++end;
        return wholeNumber(text.substr(at + 1, end - at - 1));
    }

    void trackPositions(const std::string& text) {
        if (const size_t g = text.find('G'); g != std::string::npos && g + 1 < text.size()) {
            size_t end = g + 2;  // the first character is always taken
            while (end < text.size() && isNumberChar(text[end])) ++end;
            const std::string code = text.substr(g + 1, end - g - 1);
            if (code.find('.') == std::string::npos) {
                if (const std::optional<double> n = wholeNumber(code)) {
                    static const int modal[] = {0,  1,  2,  3,  40, 41, 42, 81, 82, 83, 84,
                                                85, 86, 87, 88, 89, 90, 91, 94, 95};
                    for (const int m : modal)
                        if (*n == m) modalSet_ = true;
                }
            }
        }
        if (!modalSet_) return;
        const char axes[] = {'X', 'Y', 'Z'}, increments[] = {'U', 'V', 'W'};
        for (int i = 0; i < 3; ++i) {
            if (const auto v = numberAfterLetter(text, axes[i])) table_.set(5001 + i, *v);
            if (const auto v = numberAfterLetter(text, increments[i]))
                table_.set(5001 + i, *table_.find(5001 + i) + *v);
        }
    }

    void outputLine(std::string text) {
        const bool stops = !o_.stopCode.empty() && contains(text, o_.stopCode.c_str());
        if (replaceVariables(text) && replaceBrackets(text)) {
            trackPositions(text);
            output_(o_.keepComments ? text + comment_ : text);
        }
        if (stops || (!o_.stopCode.empty() && contains(text, o_.stopCode.c_str()))) stop_ = true;
    }

    const editor::TextDocument& program_;
    const BMacroOptions& o_;
    BMacroHost& host_;
    const std::function<void(const std::string&)>& output_;
    VariableTable table_;
    BMacroOutcome outcome_;
    int line_ = 0;
    bool stop_ = false;
    bool modalSet_ = false;
    std::string comment_;
};

}  // namespace

std::string macroOutputName(const std::string& programFile) {
    const size_t slash = programFile.find_last_of('/');
    const size_t dot = programFile.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? programFile.substr(0, dot) : programFile) + ".OUT";
}

BMacroOutcome runBMacro(const editor::TextDocument& program, const BMacroOptions& options,
                        BMacroHost& host, const std::function<void(const std::string&)>& output) {
    return Run(program, options, host, output).run();
}

}  // namespace zantor
