#include "session/help_pages.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zantor {

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string titleOf(const std::string& html, const fs::path& file) {
    const std::string low = lower(html);
    const size_t start = low.find("<title>");
    const size_t end = low.find("</title>");
    if (start == std::string::npos || end == std::string::npos || end < start)
        return file.filename().string();
    return html.substr(start + 7, end - start - 7);
}

// The words a reader sees: tags become blanks.
std::string visibleText(const std::string& html) {
    std::string text;
    text.reserve(html.size());
    bool inTag = false;
    for (char c : html) {
        if (c == '<') inTag = true;
        if (!inTag) text += c;
        if (c == '>') {
            inTag = false;
            text += ' ';
        }
    }
    return lower(text);
}

}  // namespace

std::string FindHelpFolder(const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates) {
        std::error_code error;
        if (!folder.empty() && fs::is_regular_file(fs::path(folder) / kHelpContentsPage, error))
            return folder;
    }
    return {};
}

std::string HelpPageFile(const std::string& folder, int context) {
    return (fs::path(folder) / (std::to_string(context) + ".html")).string();
}

std::vector<HelpTopic> HelpTopics(const std::string& folder) {
    return SearchHelp(folder, "");
}

std::vector<HelpTopic> SearchHelp(const std::string& folder, const std::string& query) {
    std::vector<std::string> words;
    std::istringstream split(lower(query));
    for (std::string word; split >> word;) words.push_back(word);
    std::vector<HelpTopic> topics;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".html") continue;
        const std::string html = readAll(entry.path());
        const std::string text = visibleText(html);
        const bool matches = std::all_of(words.begin(), words.end(), [&](const std::string& w) {
            return text.find(w) != std::string::npos;
        });
        if (matches) topics.push_back({entry.path().string(), titleOf(html, entry.path())});
    }
    std::sort(topics.begin(), topics.end(),
              [](const HelpTopic& a, const HelpTopic& b) { return a.title < b.title; });
    return topics;
}

}  // namespace zantor
