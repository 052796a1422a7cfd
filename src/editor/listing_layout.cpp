#include "editor/listing_layout.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace zantor::editor {

std::string TapeLengthText(long long byteCount) {
    const double feet = double(byteCount) / kTapeCharsPerFoot;
    char text[96];
    std::snprintf(text, sizeof text, "%lld Chars, %5.1f Feet, %5.1f Meters", byteCount, feet,
                  feet * kMetresPerFoot);
    return text;
}

std::array<std::string, 3> ListingHeaderLines(const std::string& fileName, const std::string& now,
                                              int page, long long byteCount) {
    return {"     File Name : " + fileName,
            "     Time/Date : " + now + "                           Page # " + std::to_string(page),
            "     File Size : " + TapeLengthText(byteCount)};
}

std::string PlainListingBanner(const std::string& fileNameWithoutFolder, const std::string& now) {
    return "**** " + fileNameWithoutFolder + " -- " + now + " ****";
}

std::vector<std::string> ListingLines(const TextDocument& document, bool selectionOnly) {
    std::vector<std::string> lines;
    const TextSelection selection = document.GetSelection();
    if (!selectionOnly || !selection.present) {
        const int count = document.LineCount();
        lines.reserve(size_t(count));
        for (int line = 1; line <= count; ++line) lines.push_back(document.GetLine(line));
        return lines;
    }
    for (int line = selection.start.line; line <= selection.end.line; ++line) {
        std::string text = document.GetLine(line);
        if (line == selection.end.line) {
            const size_t end = size_t(std::max(selection.end.column - 1, 0));
            if (text.size() > end) text.resize(end);
        }
        if (line == selection.start.line) {
            const size_t before = std::min(size_t(std::max(selection.start.column - 1, 0)), text.size());
            text.replace(0, before, before, ' ');
        }
        lines.push_back(std::move(text));
    }
    return lines;
}

std::vector<ListingStyle> StyleListingLine(const std::string& line, const std::string& commentStart,
                                           const std::string& commentEnd) {
    const bool hasStart = !commentStart.empty() && line.find(commentStart) != std::string::npos;
    const bool hasEnd = !commentEnd.empty() && line.find(commentEnd) != std::string::npos;
    std::vector<ListingStyle> styles;
    styles.reserve(line.size());
    bool inComment = false;
    for (char c : line) {
        if (hasStart && c == commentStart[0]) inComment = true;
        if (inComment)
            styles.push_back(ListingStyle::Comment);
        else if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.')
            styles.push_back(ListingStyle::NonAlpha);
        else
            styles.push_back(ListingStyle::Alpha);
        if (hasEnd && c == commentEnd[0]) inComment = false;
    }
    return styles;
}

std::vector<ListingPage> LayOutListing(const std::vector<std::string>& lines,
                                       const ListingMetrics& m) {
    const int top = int(std::lround(m.dpiY * m.marginTop));
    const double limit = m.pageBottom - m.dpiY * m.marginBottom;
    const int lh = m.lineHeight;
    // The header takes half a line, its three lines and one more line below.
    const int headerHeight = lh / 2 + 3 * lh + lh;
    // Else every new page would break again before its first line.
    if (lh <= 0 || top + headerHeight + lh > limit) throw EditorError(kMarginsTooLarge);

    std::vector<ListingPage> pages;
    int y = top;
    const auto startPage = [&] {
        ListingPage page;
        page.number = int(pages.size()) + 1;
        page.frameTop = y;
        y += lh / 2;
        for (int& headerY : page.headerY) {
            headerY = y;
            y += lh;
        }
        y += lh;
        pages.push_back(std::move(page));
    };
    startPage();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            y += lh;
            continue;
        }
        if (y + lh > limit) {
            y = top;
            startPage();
        }
        pages.back().lines.push_back({int(i), y});
        y += lh;
    }
    return pages;
}

}  // namespace zantor::editor
