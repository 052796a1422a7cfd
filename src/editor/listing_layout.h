#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/text_document.h"

namespace zantor::editor {

// Punched tape holds 120 characters to the foot.
inline constexpr double kTapeCharsPerFoot = 120.0;
inline constexpr double kMetresPerFoot = 0.3;

inline constexpr const char* kMarginsTooLarge =
    "The print margins leave no room on the page for the header and a line of the "
    "program. Make the top or bottom margin smaller in Properties.";

// "600 Chars,   5.0 Feet,   1.5 Meters": the size and tape length of a
// program of `byteCount` characters.
std::string TapeLengthText(long long byteCount);

// The three lines of a listing page's framed header.
std::array<std::string, 3> ListingHeaderLines(const std::string& fileName, const std::string& now,
                                              int page, long long byteCount);

// "**** PART.TAP -- <now> ****": the first line of a plain listing.
std::string PlainListingBanner(const std::string& fileNameWithoutFolder, const std::string& now);

// The lines a listing prints: every line of the document, or with
// `selectionOnly` the lines of its selection, where the first line's
// characters before the selection print as blanks and the last line ends
// where the selection does.
std::vector<std::string> ListingLines(const TextDocument& document, bool selectionOnly);

// How one character of a program line is drawn.
enum class ListingStyle { Alpha, NonAlpha, Comment };

// The style of each character of `line`: a comment runs from the first
// character of `commentStart` to the first of `commentEnd` (both drawn as
// comment), counted only when the whole string occurs in the line; digits,
// "+", "-" and "." are NonAlpha, every other character Alpha.
std::vector<ListingStyle> StyleListingLine(const std::string& line, const std::string& commentStart,
                                           const std::string& commentEnd);

// Page geometry in printer pixels and the margins in inches.
struct ListingMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int lineHeight = 0;
    int pageBottom = 0;  // bottom of the printable area
    double marginTop = 0.5;
    double marginBottom = 0.5;
};

struct PlacedLine {
    int index = 0;  // into the printed lines
    int y = 0;      // top of the line
};

struct ListingPage {
    int number = 0;
    int frameTop = 0;  // the header frame, 4 line heights tall
    std::array<int, 3> headerY{};
    std::vector<PlacedLine> lines;  // empty lines are not drawn and have no entry
};

// Where a formatted listing puts its headers and lines, page by page. A line
// breaks to a new page (with a header) when it would reach into the bottom
// margin; an empty line only moves down. Throws EditorError with
// kMarginsTooLarge when a page cannot hold its header and one line.
std::vector<ListingPage> LayOutListing(const std::vector<std::string>& lines,
                                       const ListingMetrics& metrics);

}  // namespace zantor::editor
