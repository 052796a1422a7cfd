#include "session/settings_keys.h"

#include <array>
#include <limits>
#include <sstream>

#include "core/real_text.h"
#include "core/text_util.h"

namespace zantor {

namespace {

enum class Kind { Flag, Number, Margin, Text };

struct KeyRule {
    const char* key;
    Kind kind;
    long long low = 0;
    long long high = 0;
    double maxMargin = 0;
};

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr long long kWhite = 16777215;

const std::array<KeyRule, 40> kRules = {{
    {"USESECURE", Kind::Flag},
    {"DNCALERT", Kind::Flag},
    {"AUTOIND", Kind::Flag},
    {"BACKUP", Kind::Flag},
    {"WORDWRAP", Kind::Flag},
    {"WRAP2WINDOW", Kind::Flag},
    {"WRAPCOLUMN", Kind::Number, 1, 100000},
    {"WORDSTAR", Kind::Flag},
    {"TABTYPE", Kind::Number, 0, 2},
    {"PPRINT", Kind::Flag},
    {"CPRINT", Kind::Flag},
    {"NCWARN", Kind::Flag},
    {"ANALYZER", Kind::Text},
    {"SHOWSYNTAX", Kind::Flag},
    {"AUTOREMOTE", Kind::Flag},
    {"TABSIZE", Kind::Number, 1, 256},
    {"PMARGINL", Kind::Margin, 0, 0, kMaxLeftMargin},
    {"PMARGINT", Kind::Margin, 0, 0, kMaxTopOrBottomMargin},
    {"PMARGINB", Kind::Margin, 0, 0, kMaxTopOrBottomMargin},
    {"CMACHINE", Kind::Text},
    {"TEMPDIR", Kind::Text},
    {"DTRDELAY", Kind::Number, 0, kMaxInt},
    {"COMOPENDELAY", Kind::Number, 0, kMaxInt},
    {"LCOMMENTCHAR", Kind::Text},
    {"RTSLOWFORWRITE", Kind::Flag},
    {"COMINSIZE", Kind::Number, kMinComBufferSize, kMaxComBufferSize},
    {"COMOUTSIZE", Kind::Number, kMinComBufferSize, kMaxComBufferSize},
    {"ACOLOR", Kind::Number, 0, kWhite},
    {"NACOLOR", Kind::Number, 0, kWhite},
    {"CCOLOR", Kind::Number, 0, kWhite},
    {"EDCOLOR", Kind::Number, 0, kWhite},
    {"FONTNAME", Kind::Text},
    {"FONTSIZE", Kind::Number, 1, 400},
    {"FONTCOLOR", Kind::Number, 0, kWhite},
    {"FONTBOLD", Kind::Flag},
    {"FONTITALIC", Kind::Flag},
    {"PFONTSIZE", Kind::Number, 1, 400},
    {"PFONTBOLD", Kind::Flag},
    {"PFONTITALIC", Kind::Flag},
    {"PFONTNAME", Kind::Text},
}};

const KeyRule* ruleOf(const std::string& key) {
    for (const KeyRule& rule : kRules)
        if (equalsIgnoreCase(rule.key, key)) return &rule;
    if (equalsIgnoreCase(key, "LOGGING")) {
        static const KeyRule logging{"LOGGING", Kind::Flag};
        return &logging;
    }
    return nullptr;
}

std::string inchesText(double inches) {
    std::ostringstream out;
    out << inches;
    return out.str();
}

}  // namespace

std::string generalValueProblem(const std::string& key, const std::string& value) {
    const KeyRule* rule = ruleOf(key);
    if (!rule) return "Unknown setting \"" + key + "\".";
    const std::string bad = "Bad value \"" + value + "\" for " + rule->key + ": ";
    switch (rule->kind) {
        case Kind::Flag:
            return value == "0" || value == "1" ? std::string() : bad + "0 or 1 is needed.";
        case Kind::Number: {
            const auto n = parseInt(value);
            if (!n || *n < rule->low || *n > rule->high)
                return bad + "a whole number from " + std::to_string(rule->low) + " to " +
                       std::to_string(rule->high) + " is needed.";
            return {};
        }
        case Kind::Margin: {
            if (realTextErrorPosition(value) != 0 || trimBlanks(value).empty())
                return bad + "a number of inches is needed.";
            const double inches = std::stod(std::string(trimBlanks(value)));
            if (inches < 0 || inches > rule->maxMargin)
                return bad + "a margin from 0 to " + inchesText(rule->maxMargin) +
                       " inches leaves room for a printed line.";
            return {};
        }
        case Kind::Text:
            return value.find_first_of("\r\n") == std::string::npos
                       ? std::string()
                       : bad + "a setting is one line.";
    }
    return {};
}

std::string setGeneralKey(IniFile& ini, const std::string& key, const std::string& value) {
    if (std::string problem = generalValueProblem(key, value); !problem.empty()) return problem;
    ini.writeString("GENERAL", ruleOf(key)->key, value);
    return {};
}

}  // namespace zantor
