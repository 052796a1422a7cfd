#include "bmacro/expression_evaluator.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace zantor {

namespace {

constexpr char kEnd = '\r';  // the scanner's end marker
constexpr double kLimit = 1e37;
constexpr double kExponentLimit = 85;
constexpr double kPi = 3.141592653589793;
constexpr double kMillimetresToInches = 0.039370078;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isOpening(char c) {
    return c == '(' || c == '[' || c == '{';
}
bool isClosing(char c) {
    return c == ')' || c == ']' || c == '}';
}
bool isOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}
bool isAllowed(char c) {
    return isDigit(c) || isLetter(c) || isOpening(c) || isClosing(c) || isOperator(c) || c == ' ' ||
           c == '.' || c == '!' || c == kEnd;
}

enum class Name {
    Pi, Abs, Sqrt, Sqr, Ln, Log, Exp, Fact, Dr, Sinh, Cosh, Tanh, Sech, Csch, Coth, Rd, D, Ft,
    Int, Round, Fix, Fup, Sin, Cos, Tan, Sec, Csc, Cot, Asin, Acos, Atan
};

// In the order they are tried: SQRT before SQR, SINH before SIN, DR and RD before D.
constexpr struct {
    std::string_view text;
    Name name;
} kNames[] = {
    {"PI", Name::Pi},     {"ABS", Name::Abs},     {"SQRT", Name::Sqrt},   {"SQR", Name::Sqr},
    {"LN", Name::Ln},     {"LOG", Name::Log},     {"EXP", Name::Exp},     {"FACT", Name::Fact},
    {"DR", Name::Dr},     {"SINH", Name::Sinh},   {"COSH", Name::Cosh},   {"TANH", Name::Tanh},
    {"SECH", Name::Sech}, {"CSCH", Name::Csch},   {"COTH", Name::Coth},   {"RD", Name::Rd},
    {"D", Name::D},       {"FT", Name::Ft},       {"INT", Name::Int},     {"ROUND", Name::Round},
    {"FIX", Name::Fix},   {"FUP", Name::Fup},     {"SIN", Name::Sin},     {"COS", Name::Cos},
    {"TAN", Name::Tan},   {"SEC", Name::Sec},     {"CSC", Name::Csc},     {"COT", Name::Cot},
    {"ASIN", Name::Asin}, {"ACOS", Name::Acos},   {"ATAN", Name::Atan},
};

class Evaluator {
public:
    explicit Evaluator(std::string_view text) : text_(text) {}

    EvalResult run() {
        advance();
        double value = expression();
        if (!stopped() && ch_ != kEnd) code_ = kIncorrectSyntax;
        if (!defined_) {
            code_ = kResultUndefined;
        } else if (tooLarge_) {
            code_ = kResultTooLarge;
        } else if (complex_) {
            code_ = kResultComplex;
        } else if (divisionByZero_) {
            code_ = kDivisionByZero;
        } else if (text_.find("..") != std::string_view::npos) {
            code_ = kIllegalCharacter;
        }
        EvalResult result;
        if (code_ != kEvalOk) {
            result.code = code_;
            const bool behind = code_ == kIncorrectRealFormat || code_ >= kResultUndefined;
            result.position = behind ? position_ - 1 : position_;
            return result;
        }
        result.value = value;
        return result;
    }

private:
    bool stopped() const {
        return code_ != kEvalOk || !defined_ || tooLarge_ || complex_ || divisionByZero_;
    }
    void fail(EvalErrorCode code) {
        if (code_ == kEvalOk) code_ = code;
    }

    char charAt(int position) const {
        return position >= 1 && size_t(position) <= text_.size() ? text_[size_t(position - 1)] : kEnd;
    }
    // To the next character that is not a space; a character outside the
    // language is an error when the scanner reaches it.
    void advance() {
        do {
            ++position_;
            ch_ = charAt(position_);
            if (!isAllowed(ch_)) fail(kIllegalCharacter);
        } while (ch_ == ' ');
    }
    // The next character after the current one that is not a space.
    char peek() const {
        int p = position_ + 1;
        while (charAt(p) == ' ') ++p;
        return charAt(p);
    }

    double checked(double value) {
        if (std::fabs(value) > kLimit || !std::isfinite(value)) {
            tooLarge_ = true;
            return 0;
        }
        return value;
    }

    double expression() {
        if (stopped()) return 0;
        bool negate = false;
        if (ch_ == '+' || ch_ == '-') {
            negate = ch_ == '-';
            advance();
        }
        double value = term();
        if (negate) value = -value;
        while (!stopped() && (ch_ == '+' || ch_ == '-')) {
            const char op = ch_;
            advance();
            const double right = term();
            if (stopped()) return 0;
            value = checked(op == '+' ? value + right : value - right);
        }
        return stopped() ? 0 : value;
    }

    double term() {
        if (stopped()) return 0;
        double value = power();
        while (!stopped()) {
            char op;
            if (ch_ == '*' || ch_ == '/') {
                op = ch_;
                advance();
            } else if (isDigit(ch_) || ch_ == '.' || isLetter(ch_) || isOpening(ch_)) {
                op = '*';  // implied: 2PI, 3(4+1), 2SIN(1)
            } else {
                break;
            }
            const double right = power();
            if (stopped()) return 0;
            if (op == '*') {
                const double product = value * right;
                if ((std::fabs(value) > 1 && std::fabs(product) > kLimit) || !std::isfinite(product)) {
                    tooLarge_ = true;
                    return 0;
                }
                value = product;
            } else {
                if (right == 0) {
                    divisionByZero_ = true;
                    return 0;
                }
                const double quotient = value / right;
                // 1/1E-320 overflows even from a small dividend: no infinity leaves here.
                if ((std::fabs(value) > 1 && std::fabs(quotient) > kLimit) || !std::isfinite(quotient)) {
                    tooLarge_ = true;
                    return 0;
                }
                value = quotient;
            }
        }
        return stopped() ? 0 : value;
    }

    double power() {
        if (stopped()) return 0;
        double base = signedFactor();
        while (!stopped() && ch_ == '^') {
            advance();
            const double exponent = signedFactor();
            if (stopped()) return 0;
            base = raise(base, exponent);
        }
        return stopped() ? 0 : base;
    }

    double raise(double base, double exponent) {
        if (base == 0 || (base < 0 && exponent != std::trunc(exponent))) {
            complex_ = true;
            return 0;
        }
        const double logarithm = exponent * std::log(std::fabs(base));
        if (logarithm > kExponentLimit) {
            tooLarge_ = true;
            return 0;
        }
        const double result = std::pow(std::fabs(base), exponent);  // 2^3 is exactly 8
        const bool odd = std::fmod(std::trunc(std::fabs(exponent)), 2) == 1;
        return base < 0 && odd ? -result : result;
    }

    double signedFactor() {
        if (stopped()) return 0;
        if (ch_ == '-') {
            advance();
            return -factor();
        }
        return factor();
    }

    // A factor with the "!" that may follow it.
    double factor() {
        double value = factorWithoutFactorial();
        if (!stopped() && ch_ == '!') {
            advance();
            value = factorial(value);
        }
        return stopped() ? 0 : value;
    }

    double factorWithoutFactorial() {
        if (stopped()) return 0;
        if (isDigit(ch_) || ch_ == '.') return number();
        if (isOpening(ch_)) {
            advance();
            ++depth_;
            double value = expression();
            --depth_;
            if (stopped()) return 0;
            if (!isClosing(ch_)) {
                fail(kBadParenthesis);
                return 0;
            }
            advance();
            // (2)3 multiplies at once, before any power or "!".
            if (isDigit(ch_) || ch_ == '.' || isLetter(ch_)) value = checked(value * factorWithoutFactorial());
            return stopped() ? 0 : value;
        }
        if (isLetter(ch_)) return named();
        // The text ends where a factor should be: inside brackets the closing
        // one is missing ("SIN(").
        fail(ch_ == kEnd && depth_ > 0 ? kBadParenthesis : kIncorrectSyntax);
        return 0;
    }

    double number() {
        std::string taken;
        const auto digits = [&] {
            while (isDigit(ch_)) {
                taken += ch_;
                advance();
            }
        };
        digits();
        if (ch_ == '.') {
            taken += '.';
            advance();
            digits();
            // "1.5.3" is a typing error, not 1.5 times .3 ("1..2" stays an
            // illegal character by the final check).
            if (ch_ == '.') {
                fail(kIncorrectRealFormat);
                return 0;
            }
        }
        if (ch_ == 'E' && peek() != 'X') {  // 2EXP(1) is 2 times EXP(1)
            taken += 'E';
            advance();
            if (!(isDigit(ch_) || ch_ == '+' || ch_ == '-')) {
                fail(kIncorrectRealFormat);
                return 0;
            }
            taken += ch_;
            advance();
            digits();
        }
        if (taken.front() == '.') taken.insert(0, "0");
        if (taken.back() == '.') taken += '0';
        double value = 0;
        const char* last = taken.data() + taken.size();
        const auto [end, error] = std::from_chars(taken.data(), last, value);
        // Beyond a double: 1E400 is too large (infinity), 1E-400 is 0.
        if (error == std::errc::result_out_of_range) return checked(std::strtod(taken.c_str(), nullptr));
        if (error != std::errc() || end != last) {
            fail(kIncorrectRealFormat);
            return 0;
        }
        return checked(value);
    }

    double named() {
        const std::string_view rest = text_.substr(size_t(position_ - 1));
        for (const auto& entry : kNames) {
            if (!rest.starts_with(entry.text)) continue;
            for (size_t i = 0; i < entry.text.size(); ++i) advance();
            if (stopped()) return 0;
            switch (entry.name) {
            case Name::Pi: return kPi;
            case Name::Dr: return 0.0174532925;
            case Name::Rd: return 57.29577951;
            case Name::D: return 0.5;
            case Name::Ft: return 12;
            default: break;
            }
            // A function takes one factor; a "!" after it applies to the result.
            const double x = factorWithoutFactorial();
            if (stopped()) return 0;
            // SIN of an infinite COT is no number: every result meets the limits.
            const double result = apply(entry.name, x);
            return stopped() ? 0 : checked(result);
        }
        fail(kIllegalFunction);
        return 0;
    }

    double divide(double dividend, double divisor) {
        if (divisor == 0) {
            divisionByZero_ = true;
            return 0;
        }
        return dividend / divisor;
    }

    double hyperbolic(double x, bool sine) {
        if (std::fabs(x) > kExponentLimit) {
            tooLarge_ = true;
            return 0;
        }
        return sine ? (std::exp(x) - std::exp(-x)) / 2 : (std::exp(x) + std::exp(-x)) / 2;
    }

    double logarithm(double x) {
        if (x < 0) {
            complex_ = true;
            return 0;
        }
        if (x == 0) {
            tooLarge_ = true;
            return 0;
        }
        return std::log(x);
    }

    double apply(Name name, double x) {
        switch (name) {
        case Name::Abs: return std::fabs(x);
        case Name::Sqrt:
            if (x < 0) {
                complex_ = true;
                return 0;
            }
            return std::sqrt(x);
        case Name::Sqr:
            if (std::fabs(x) >= 1e19) {
                tooLarge_ = true;
                return 0;
            }
            return x * x;
        case Name::Ln: return logarithm(x);
        case Name::Log: {
            logarithm(x);  // the conditions of LN
            return stopped() ? 0 : std::log10(x);
        }
        case Name::Exp:
            if (std::fabs(x) >= kExponentLimit) {
                if (x >= kExponentLimit) tooLarge_ = true;
                return 0;
            }
            return std::exp(x);
        case Name::Fact: return factorial(x);
        case Name::Sinh: return hyperbolic(x, true);
        case Name::Cosh: return hyperbolic(x, false);
        case Name::Tanh: {
            const double s = hyperbolic(x, true), c = hyperbolic(x, false);
            return stopped() ? 0 : divide(s, c);
        }
        case Name::Sech: {
            const double c = hyperbolic(x, false);
            return stopped() ? 0 : divide(1, c);
        }
        case Name::Csch: {
            const double s = hyperbolic(x, true);
            return stopped() ? 0 : divide(1, s);
        }
        case Name::Coth: {
            const double s = hyperbolic(x, true), c = hyperbolic(x, false);
            return stopped() ? 0 : divide(c, s);
        }
        case Name::Int: return std::trunc(x);
        case Name::Round: return std::nearbyint(x);  // halves to the even neighbour
        case Name::Fix: return x < 1 ? 0 : x;
        case Name::Fup: return x < 1 ? x + 1 : x;
        case Name::Sin: return std::sin(x);
        case Name::Cos: return std::cos(x);
        case Name::Tan: return divide(std::sin(x), std::cos(x));
        case Name::Sec: return divide(1, std::cos(x));
        case Name::Csc: return divide(1, std::sin(x));
        case Name::Cot: return divide(std::cos(x), std::sin(x));
        case Name::Asin:
            if (std::fabs(x) > 1) {
                complex_ = true;
                return 0;
            }
            return std::fabs(x) == 1 ? std::copysign(kPi / 2, x) : std::asin(x);
        case Name::Acos:
            if (std::fabs(x) > 1) {
                complex_ = true;
                return 0;
            }
            return x == 0 ? kPi / 2 : x == -1 ? kPi : x == 1 ? 0 : std::acos(x);
        case Name::Atan: return std::atan(x);
        default: return 0;
        }
    }

    double factorial(double x) {
        if (x != std::trunc(x) || x < 0 || x > 32767) {
            defined_ = false;
            return 0;
        }
        if (x >= 33) {
            tooLarge_ = true;
            return 0;
        }
        double product = 1;
        for (int n = 2; n <= int(x); ++n) product *= n;
        return product;
    }

    std::string_view text_;
    int position_ = 0;
    char ch_ = kEnd;
    int code_ = kEvalOk;
    int depth_ = 0;  // brackets open around the current factor
    bool defined_ = true, tooLarge_ = false, complex_ = false, divisionByZero_ = false;
};

}  // namespace

const char* evalErrorMessage(int code) {
    static const char* const messages[] = {"",
                                           "Illegal character",
                                           "Incorrect syntax",
                                           "Illegal or missing parenthese",
                                           "Incorrect real format",
                                           "Illegal function",
                                           "Result is undefined",
                                           "Result is too large",
                                           "Result is complex",
                                           "Division by zero"};
    return code >= 0 && code <= 9 ? messages[code] : "Undefined";
}

EvalResult Evaluate(std::string_view text) {
    std::string line(text);
    const size_t percent = line.find('%');
    const bool millimetres = percent != std::string::npos;
    if (millimetres) line.erase(percent, 1);
    EvalResult result = Evaluator(line).run();
    if (result.code == kEvalOk && millimetres) result.value *= kMillimetresToInches;
    return result;
}

}  // namespace zantor
