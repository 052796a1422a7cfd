#include "bmacro/expression_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bmacro/evaluate_field.h"
#include "scripted_interaction.h"

namespace zantor {
namespace {

struct ValueCase {
    const char* text;
    double value;
};

TEST(Evaluate, ValuesByPrecedenceImpliedMultiplicationAndTheTable) {
    const ValueCase cases[] = {
        {"1+2*3", 7},          {"(1+2)*3", 7 + 2},    {"2^3^2", 64},
        {"-2^2", -4},          {"2^-2", 0.25},        {"2PI", 6.283185307179586},
        {"(2)(3)", 6},         {"(2)3", 6},           {"3(4+1)", 15},
        {"2SIN(0)", 0},        {"2EXP(0)", 2},        {"1 2", 12},
        {"[1+{2}]*(3)", 9},    {"5!", 120},           {"0!", 1},
        {"FACT(4)!", 620448401733239439360000.0},  // 24!, the "!" after the argument
        {"SIN(30*DR)", 0.49999999948185792}, {"SQRT(16)", 4},   {"SQR(3)", 9},
        {"ABS(-2.5)", 2.5},    {"LOG(1000)", 3},      {"LN(1)", 0},
        {"INT(-2.5)", -2},     {"ROUND(2.5)", 2},     {"ROUND(3.5)", 4},
        {"FIX(0.5)", 0},       {"FIX(1.5)", 1.5},     {"FUP(0.5)", 1.5},
        {"FUP(2)", 2},         {"ASIN(1)", M_PI / 2}, {"ACOS(-1)", M_PI},
        {"ACOS(0)", M_PI / 2}, {"D", 0.5},            {"FT", 12},
        {"RD", 57.29577951},   {"EXP(-90)", 0},       {"COSH(0)", 1},
        {"TANH(0)", 0},        {"10%", 0.39370078},   {".5+5.", 5.5},
        {"1E3", 1000},         {"2^3", 8},            {"LOG(1000)-3", 0},
        {"1E3", 1000},         {"1E-3", 0.001},       {"-(2+3)", -5},
        {"2*-3", -6},          {"1E35*10/100", 1e34}, {"1E-400", 0},
    };
    for (const ValueCase& c : cases) {
        const EvalResult r = Evaluate(c.text);
        EXPECT_EQ(r.code, kEvalOk) << c.text << ": " << evalErrorMessage(r.code);
        EXPECT_NEAR(r.value, c.value, std::fabs(c.value) * 1e-12 + 1e-12) << c.text;
        EXPECT_EQ(r.position, 0) << c.text;
    }
}

struct ErrorCase {
    const char* text;
    int code;
    int position;
};

TEST(Evaluate, ErrorsWithTheirCodesAndPositions) {
    const ErrorCase cases[] = {
        {"1..2", kIllegalCharacter, 3},    {"1%%", kIllegalCharacter, 2},
        {"2#3", kIllegalCharacter, 2},     {"2*+3", kIncorrectSyntax, 3},
        {"2)", kIncorrectSyntax, 2},       {"SIN(", kBadParenthesis, 5},
        {"(1+2", kBadParenthesis, 5},      {"1E", kIncorrectRealFormat, 2},
        {"1E+", kIncorrectRealFormat, 3},  {"XYZ", kIllegalFunction, 1},
        {"FACT(2.5)", kResultUndefined, 9}, {"(-1)!", kResultUndefined, 5},
        {"FACT(33)", kResultTooLarge, 8},  {"EXP(90)", kResultTooLarge, 7},
        {"1E37*100", kResultTooLarge, 8},  {"1E30+1E37", kResultTooLarge, 9},
        {"SINH(86)", kResultTooLarge, 8},  {"1/1E-320", kResultTooLarge, 8},
        {"1.5.3", kIncorrectRealFormat, 3},  {"1E400", kResultTooLarge, 5},  {"SQR(1E19)", kResultTooLarge, 9},
        {"10^86", kResultTooLarge, 5},     {"LN(0)", kResultTooLarge, 5},
        {"0^2", kResultComplex, 3},        {"(-8)^(1/3)", kResultComplex, 10},
        {"SQRT(-1)", kResultComplex, 8},   {"ASIN(2)", kResultComplex, 7},
        {"LOG(-1)", kResultComplex, 7},    {"1/0", kDivisionByZero, 3},
        {"CSCH(0)", kDivisionByZero, 7},   {"COT(0)", kDivisionByZero, 6},
        // Not finite on the way: COT of a denormal is infinite, SIN of that is NaN.
        {"COT(1E-317)", kResultTooLarge, 11}, {"SINSINCOT1E-317", kResultTooLarge, 15},
        {"(1E30)1E30", kResultTooLarge, 10},
    };
    for (const ErrorCase& c : cases) {
        const EvalResult r = Evaluate(c.text);
        EXPECT_EQ(r.code, c.code) << c.text << ": " << evalErrorMessage(r.code);
        EXPECT_EQ(r.position, c.position) << c.text;
        EXPECT_EQ(r.value, 0) << c.text;
    }
}

TEST(Evaluate, MessagesOfTheCodes) {
    EXPECT_STREQ(evalErrorMessage(3), "Illegal or missing parenthese");
    EXPECT_STREQ(evalErrorMessage(9), "Division by zero");
    EXPECT_STREQ(evalErrorMessage(12), "Undefined");
}

TEST(EvaluateField, ASuccessWritesFiveDecimalsAnErrorShowsTheMarkedExpression) {
    testing::ScriptedInteraction ui;
    std::string text = "5/2";
    FieldValue v = EvaluateField(text, ui);
    EXPECT_TRUE(v.ok);
    EXPECT_EQ(v.value, 2.5);
    EXPECT_EQ(text, "2.50000");

    std::string empty;
    EXPECT_TRUE(EvaluateField(empty, ui).ok);
    EXPECT_EQ(empty, "0.00000");

    std::string bad = "sin(";
    v = EvaluateField(bad, ui);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(bad, "sin(");  // stays as typed
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Error in Expression      \n\nIllegal or missing parenthese\n\nSIN( >>");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
}

}  // namespace
}  // namespace zantor
