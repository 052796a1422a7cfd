#include "nctools/reformat.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "nctools/nc_words.h"

namespace zantor {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t findWholeCode(std::string_view text, std::string_view code) {
    if (code.empty()) return std::string_view::npos;
    for (size_t at = text.find(code); at != std::string_view::npos; at = text.find(code, at + 1)) {
        const size_t after = at + code.size();
        if (after >= text.size() || !isDigit(text[after])) return at;
    }
    return std::string_view::npos;
}

// Each motion code is looked for in the line as it came, so codes that
// trade places (clockwise and counter-clockwise on machines with swapped
// arc directions) are each converted once and never turned back.
void changeMotionCodes(std::string& code, const ReformatMachine& from, const ReformatMachine& to) {
    struct Hit {
        size_t at;
        size_t length;
        const std::string* replacement;
    };
    // At most one hit per code: held in place, as this runs for every line.
    std::array<Hit, std::tuple_size_v<decltype(from.motionCodes)>> hits{};
    size_t hitCount = 0;
    for (size_t i = 0; i < from.motionCodes.size(); ++i) {
        const size_t at = findWholeCode(code, from.motionCodes[i]);
        if (at == std::string::npos) continue;
        const Hit hit{at, from.motionCodes[i].size(), &to.motionCodes[i]};
        bool overlaps = false;
        for (size_t h = 0; h < hitCount; ++h) {
            const Hit& other = hits[h];
            overlaps =
                overlaps || (hit.at < other.at + other.length && other.at < hit.at + hit.length);
        }
        if (!overlaps) hits[hitCount++] = hit;
    }
    // From the last hit back, so that each replacement leaves the places
    // of the others as they were (a handful: sorted by insertion).
    for (size_t i = 1; i < hitCount; ++i)
        for (size_t j = i; j > 0 && hits[j - 1].at < hits[j].at; --j)
            std::swap(hits[j - 1], hits[j]);
    for (size_t i = 0; i < hitCount; ++i)
        code.replace(hits[i].at, hits[i].length, *hits[i].replacement);
}

double powerOfTen(int exponent) {
    double power = 1;
    for (int i = 0; i < exponent; ++i) power *= 10;
    return power;
}

void changeRegisters(std::string& code, const ReformatSettings& settings,
                     const ReformatMachine& from, const ReformatMachine& to) {
    const std::string& letters = settings.registerLetters;
    for (size_t i = 0; i < letters.size(); ++i) {
        const char letter = letters[i];
        if (letters.find(letter) < i) continue;  // each letter once
        const size_t at = code.find(letter);
        if (at == std::string::npos) continue;
        // The word's first place is `at`: any earlier one would hold the
        // letter earlier. Its letter stays; its value is written anew.
        const size_t wordLength = ReadNcWordLength(code, at);
        const std::string_view word = std::string_view(code).substr(at, wordLength);
        const NcValueFormat& oldFormat = letter == 'F' ? from.feed : from.axis;
        const NcValueFormat& newFormat = letter == 'F' ? to.feed : to.axis;
        double value = oldFormat.read(word);
        if (settings.allowMixed && oldFormat.format == NcNumberFormat::Decimal &&
            word.find('.') == std::string_view::npos)
            value /= powerOfTen(oldFormat.right);
        code.replace(at + 1, wordLength - 1, newFormat.write(value));
    }
}

std::string changeCommentMarks(const CommentSplit& split, const CommentMarks& from,
                               const CommentMarks& to) {
    std::string inner = split.comments;
    inner.erase(0, std::min(inner.size(), from.start.size()));
    if (split.lastClosed) inner.resize(inner.size() - std::min(inner.size(), from.end.size()));
    if (inner.empty()) return {};
    return to.start + inner + to.end;
}

}  // namespace

ReformatMachine reformatMachineOf(const MachineFormat& machine) {
    return {axisValueFormat(machine),
            feedValueFormat(machine),
            machineCommentMarks(machine),
            {machine.RapidCode, machine.LinearCode, machine.CwCode, machine.CcwCode}};
}

ReformatSettings reformatSettingsOf(const UtilityDefaults& defaults) {
    ReformatSettings settings;
    settings.registerLetters = defaults.ReformatRegisterLetters;
    settings.registers = defaults.ReformatRegisters;
    settings.motionCodes = defaults.ReformatGCodes;
    settings.comments = defaults.ReformatComments;
    settings.useSubstitutions = defaults.ReformatUseSubstitutions;
    for (int i = 0; i < kSubstitutionEntries; ++i)
        settings.substitutions.emplace_back(defaults.SubstituteOld[size_t(i)],
                                            defaults.SubstituteNew[size_t(i)]);
    return settings;
}

std::string reformatCaption() { return "Reformatting ..."; }

std::string reformatLine(std::string_view line, const ReformatSettings& settings,
                         const ReformatMachine& from, const ReformatMachine& to) {
    if (line.empty()) return {};
    CommentSplit split = splitComments(line, from.comments);
    if (settings.motionCodes) changeMotionCodes(split.code, from, to);
    if (settings.registers) changeRegisters(split.code, settings, from, to);
    if (settings.useSubstitutions)
        for (const auto& [oldText, newText] : settings.substitutions)
            ReplaceFirst(split.code, oldText, newText);
    if (settings.comments && !split.comments.empty())
        split.comments = changeCommentMarks(split, from.comments, to.comments);
    split.code += split.comments;
    return std::move(split.code);
}

bool Reformat(editor::TextDocument& document, LineWalkProgress& progress,
              const ReformatSettings& settings, const ReformatMachine& from,
              const ReformatMachine& to) {
    return RunLineTransform(document, progress, reformatCaption(),
                            [&](const std::string& line, int number) {
                                ReplaceLine(document, number, line,
                                            reformatLine(line, settings, from, to));
                            });
}

}  // namespace zantor
