#pragma once

#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"
#include "nctools/machine_values.h"

namespace zantor {

// Feed rates and spindle speeds in percent of what the program holds.
struct OverridePercentages {
    int feed = 100;
    int speed = 100;
};

// "Overriding Feeds/Speeds ...".
std::string overrideCaption();

// The line with its F word scaled and written in `feedFormat`, and its S
// word scaled and written as a whole number, rounded half up. Comments and
// lower-case f and s are passed over. A line with two F words (or two S
// words) outside comments keeps them: which one the override is meant for
// cannot be told.
std::string applyOverride(std::string_view line, const OverridePercentages& percentages,
                          const NcValueFormat& feedFormat, const CommentMarks& marks);

// Over the selected lines or the whole program; false when cancelled.
bool OverrideFeedsSpeeds(editor::TextDocument& document, LineWalkProgress& progress,
                         const OverridePercentages& percentages, const NcValueFormat& feedFormat,
                         const CommentMarks& marks);

}  // namespace zantor
