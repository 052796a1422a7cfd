#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zantor {

// The text of one INI file held as its lines, so that writing a key changes
// that key alone: comments, unknown keys, blank lines, odd lines and the order
// of everything stay as they were. Section and key names match without regard
// to case; when a section or a key occurs twice, the first occurrence is the
// one read and written, and the others are kept untouched. A section name runs
// to the last "]" of its line; a leading UTF-8 byte-order mark is kept.
class IniFile {
public:
    static IniFile parse(std::string_view bytes);
    std::string serialize() const;

    bool hasSection(std::string_view section) const;
    // The value of the first occurrence of the key; the view lasts until the next change.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // A missing key or a value that is not a whole decimal number gives the fallback.
    int readInt(std::string_view section, std::string_view key, int fallback) const;
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    // Key names of the section in file order, each name once.
    std::vector<std::string> keys(std::string_view section) const;
    std::vector<std::string> sectionNames() const;

    // Adds an empty section when there is none of that name.
    void ensureSection(std::string_view section);
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void deleteKey(std::string_view section, std::string_view key);
    // Removes every section of that name, the copies a hand edit left included.
    void eraseSection(std::string_view section);

private:
    struct Line {
        std::string raw;  // the line as it stands in the file, without its line end
        bool isEntry = false;
        uint32_t keyBegin = 0, keyLength = 0, valueBegin = 0, valueLength = 0;
        std::string_view key() const { return std::string_view(raw).substr(keyBegin, keyLength); }
        std::string_view value() const {
            return std::string_view(raw).substr(valueBegin, valueLength);
        }
    };
    struct Section {
        bool hasHeader = false;  // the lines before the first header have none
        std::string name;
        std::string header;
        std::vector<Line> lines;
        // Lower-case key -> index of its first line; built when first needed.
        mutable std::unordered_map<std::string, size_t> keyIndex;
        mutable bool keyIndexValid = false;
    };

    static Line makeLine(std::string raw);
    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    Section& sectionForWrite(std::string_view name);
    static constexpr size_t kNoLine = size_t(-1);
    static size_t findLineIndex(const Section& section, std::string_view key);
    static const Line* findLine(const Section& section, std::string_view key);
    static void invalidate(Section& section);
    void rebuildSectionIndex();

    std::vector<Section> sections_ = std::vector<Section>(1);  // [0]: lines before any header
    std::unordered_map<std::string, size_t> sectionIndex_;     // lower-case name -> first section
    std::string lineEnd_ = "\n";                               // the file's own line end is kept
    bool byteOrderMark_ = false;                               // kept when writing
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
};

}  // namespace zantor
