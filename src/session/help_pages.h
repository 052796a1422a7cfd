#pragma once

#include <string>
#include <vector>

namespace zantor {

// The help pages are HTML files in one folder, one a context number
// ("113.html") and a few named ones ("contents.html").
inline constexpr const char* kHelpContentsPage = "contents.html";
inline constexpr const char* kDncHelpPage = "dnc.html";
inline constexpr const char* kAnalyzerHelpPage = "analyzer.html";

struct HelpTopic {
    std::string file;   // full path
    std::string title;  // the page's <title>, else its file name
};

// The first of `candidates` that holds the contents page; empty when none.
std::string FindHelpFolder(const std::vector<std::string>& candidates);

// The page of a context number in `folder` (it may not exist).
std::string HelpPageFile(const std::string& folder, int context);

// Every page of `folder`, ordered by title.
std::vector<HelpTopic> HelpTopics(const std::string& folder);

// The pages whose text (tags left out, case ignored) holds every word of
// `query`; all pages for an empty query.
std::vector<HelpTopic> SearchHelp(const std::string& folder, const std::string& query);

}  // namespace zantor
