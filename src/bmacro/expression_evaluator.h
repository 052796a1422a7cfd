#pragma once

#include <string>
#include <string_view>

namespace zantor {

// The error codes of an evaluation; 0 is none.
enum EvalErrorCode {
    kEvalOk = 0,
    kIllegalCharacter = 1,
    kIncorrectSyntax = 2,
    kBadParenthesis = 3,
    kIncorrectRealFormat = 4,
    kIllegalFunction = 5,
    kResultUndefined = 6,
    kResultTooLarge = 7,
    kResultComplex = 8,
    kDivisionByZero = 9,
};

// "Illegal character" ... "Division by zero"; "Undefined" for any other code.
const char* evalErrorMessage(int code);

struct EvalResult {
    double value = 0;  // 0 on error
    int code = kEvalOk;
    int position = 0;  // 1-based place of the error; 0 without one
};

// Evaluates one line of the calculator language of every numeric field and
// of the B-Macro: + - * / ^ with implied multiplication (2PI, 3(4+1)), any
// bracket pairs, "!" factorials, the constants and functions of the table,
// a "%" anywhere meaning millimetres (the value is given in inches). The
// text is expected in capitals.
EvalResult Evaluate(std::string_view text);

}  // namespace zantor
