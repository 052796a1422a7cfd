#include "nctools/feed_speed_override.h"

#include <cmath>

#include "nctools/register_words.h"

namespace zantor {

std::string overrideCaption() { return "Overriding Feeds/Speeds ..."; }

namespace {

// Spindle speeds are read as plain decimals and written as whole numbers.
const NcValueFormat kSpeedRead{NcNumberFormat::Decimal, 3, 4};
const NcValueFormat kSpeedWrite{NcNumberFormat::WholeNumber, 4, 0};

}  // namespace

std::string applyOverride(std::string_view line, const OverridePercentages& percentages,
                          const NcValueFormat& feedFormat, const CommentMarks& marks) {
    const std::vector<RegisterWord> words = registerWords(line, "FS", marks);
    int feeds = 0, speeds = 0;
    for (const RegisterWord& word : words) ++(word.text.front() == 'F' ? feeds : speeds);
    std::vector<WordChange> changes;
    for (const RegisterWord& word : words) {
        const bool feed = word.text.front() == 'F';
        if ((feed ? feeds : speeds) != 1) continue;
        const NcValueFormat& read = feed ? feedFormat : kSpeedRead;
        const NcValueFormat& write = feed ? feedFormat : kSpeedWrite;
        const double factor = (feed ? percentages.feed : percentages.speed) / 100.0;
        const double value = read.read(word.text) * factor;
        if (!std::isfinite(value)) continue;
        changes.push_back({word, word.text.front() + write.write(value)});
    }
    return withWordsChanged(line, changes);
}

bool OverrideFeedsSpeeds(editor::TextDocument& document, LineWalkProgress& progress,
                         const OverridePercentages& percentages, const NcValueFormat& feedFormat,
                         const CommentMarks& marks) {
    return RunLineTransform(document, progress, overrideCaption(),
                            [&](const std::string& line, int number) {
                                ReplaceLine(document, number, line,
                                            applyOverride(line, percentages, feedFormat, marks));
                            });
}

}  // namespace zantor
