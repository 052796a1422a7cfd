#include "nctools/make_columns.h"

#include <algorithm>

namespace zantor {

std::string makeColumnsCaption() { return "Columizing ..."; }

std::string makeColumnsLine(std::string_view line, const ColumnLayout& layout,
                            const CommentMarks& marks) {
    if (line.empty()) return {};
    const CommentSplit split = splitComments(line, marks);
    std::string code;
    code.reserve(split.code.size() + layout.registerOrder.size() * 4);
    std::copy_if(split.code.begin(), split.code.end(), std::back_inserter(code),
                 [](char c) { return c != ' ' && c != '\t'; });
    // A negative width would mean no column at all, as 0 does.
    const size_t width = size_t(std::max(layout.width, 0));
    for (size_t i = 1; i < layout.registerOrder.size() && width > 0; ++i) {
        const size_t at = code.find(layout.registerOrder[i]);
        const size_t column = i * width;
        if (at != std::string::npos && at < column) code.insert(at, column - at, ' ');
    }
    return code + split.comments;
}

bool MakeColumns(editor::TextDocument& document, LineWalkProgress& progress,
                 const ColumnLayout& layout, const CommentMarks& marks) {
    return RunLineTransform(document, progress, makeColumnsCaption(),
                            [&](const std::string& line, int number) {
                                ReplaceLine(document, number, line,
                                            makeColumnsLine(line, layout, marks));
                            });
}

}  // namespace zantor
