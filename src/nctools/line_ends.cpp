#include "nctools/line_ends.h"

namespace zantor {

std::string lineEndsCaption() { return "Chainging Line Begin/End ..."; }

std::string changeLineEnds(std::string_view line, const LineEnds& ends) {
    if (line.empty()) return {};
    // The end first, then the start of the line as the end left it.
    std::string changed(line);
    if (!ends.endFrom.empty() && changed.ends_with(ends.endFrom))
        changed.resize(changed.size() - ends.endFrom.size());
    changed += ends.endTo;
    if (!ends.beginFrom.empty() || !ends.beginTo.empty()) {
        // An empty "from" matches every line: the "to" text goes in front.
        const size_t replaced = changed.starts_with(ends.beginFrom) ? ends.beginFrom.size() : 0;
        changed.replace(0, replaced, ends.beginTo);
    }
    return changed;
}

bool ChangeLineEnds(editor::TextDocument& document, LineWalkProgress& progress,
                    const LineEnds& ends) {
    return RunLineTransform(document, progress, lineEndsCaption(),
                            [&](const std::string& line, int number) {
                                ReplaceLine(document, number, line, changeLineEnds(line, ends));
                            });
}

}  // namespace zantor
