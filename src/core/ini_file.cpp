#include "core/ini_file.h"

#include <algorithm>
#include <utility>

#include "core/text_util.h"

namespace zantor {

IniFile::Line IniFile::makeLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    const std::string_view text(line.raw);
    const std::string_view trimmed = trimBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return line;
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) return line;
    const std::string_view key = trimBlanks(text.substr(0, eq));
    if (key.empty()) return line;
    const std::string_view value = trimBlanks(text.substr(eq + 1));
    line.isEntry = true;
    line.keyBegin = uint32_t(key.data() - text.data());
    line.keyLength = uint32_t(key.size());
    line.valueBegin = uint32_t(value.data() - text.data());
    line.valueLength = uint32_t(value.size());
    return line;
}

IniFile IniFile::parse(std::string_view bytes) {
    IniFile ini;
    // Windows editors put a byte-order mark in front; it is not part of the first line.
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        ini.byteOrderMark_ = true;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const size_t firstLf = bytes.find('\n');
    ini.lineEnd_ = (firstLf != std::string_view::npos && firstLf > 0 && bytes[firstLf - 1] == '\r')
                       ? "\r\n"
                       : "\n";
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view text = bytes.substr(pos, end - pos);
        pos = end + 1;
        // Every CR before the line end goes ("\r\r\n" from a file copied
        // between systems twice): a CR kept would be a line end after a save.
        while (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const std::string_view trimmed = trimBlanks(text);
        if (!trimmed.empty() && trimmed.front() == '[') {
            Section section;
            section.hasHeader = true;
            section.header = std::string(text);
            // Up to the last "]", so that a name holding "]" ("Mill [2]") reads back whole.
            const std::string_view inner = trimmed.substr(1);
            section.name = std::string(trimBlanks(inner.substr(0, inner.rfind(']'))));
            ini.sections_.push_back(std::move(section));
        } else {
            ini.sections_.back().lines.push_back(makeLine(std::string(text)));
        }
    }
    ini.rebuildSectionIndex();
    return ini;
}

std::string IniFile::serialize() const {
    std::string out;
    if (byteOrderMark_) out = kByteOrderMark;
    size_t total = out.size();
    for (const Section& s : sections_) {
        total += s.header.size() + 2;
        for (const Line& l : s.lines) total += l.raw.size() + 2;
    }
    out.reserve(total);
    bool first = true;
    auto put = [&](const std::string& text) {
        if (!first) out += lineEnd_;
        out += text;
        first = false;
    };
    for (const Section& s : sections_) {
        if (s.hasHeader) put(s.header);
        for (const Line& l : s.lines) put(l.raw);
    }
    if (!first) out += lineEnd_;
    return out;
}

void IniFile::rebuildSectionIndex() {
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].hasHeader) sectionIndex_.try_emplace(toLowerAscii(sections_[i].name), i);
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    const auto it = sectionIndex_.find(toLowerAscii(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

size_t IniFile::findLineIndex(const Section& section, std::string_view key) {
    if (!section.keyIndexValid) {
        section.keyIndex.clear();
        for (size_t i = 0; i < section.lines.size(); ++i)
            if (section.lines[i].isEntry)
                section.keyIndex.try_emplace(toLowerAscii(section.lines[i].key()), i);
        section.keyIndexValid = true;
    }
    const auto it = section.keyIndex.find(toLowerAscii(key));
    return it == section.keyIndex.end() ? kNoLine : it->second;
}

const IniFile::Line* IniFile::findLine(const Section& section, std::string_view key) {
    const size_t at = findLineIndex(section, key);
    return at == kNoLine ? nullptr : &section.lines[at];
}

void IniFile::invalidate(Section& section) {
    section.keyIndexValid = false;
}

bool IniFile::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

std::optional<std::string_view> IniFile::find(std::string_view section,
                                              std::string_view key) const {
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    const Line* line = findLine(*s, key);
    if (!line) return std::nullopt;
    return line->value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto v = find(section, key);
    return v ? std::optional<std::string>(std::string(*v)) : std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return std::string(find(section, key).value_or(fallback));
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const auto v = find(section, key);
    return v ? parseIntOr(*v, fallback) : fallback;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> out;
    const Section* s = findSection(section);
    if (!s) return out;
    for (size_t i = 0; i < s->lines.size(); ++i) {
        const Line& l = s->lines[i];
        if (l.isEntry && findLine(*s, l.key()) == &l) out.emplace_back(l.key());
    }
    return out;
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> out;
    for (const Section& s : sections_)
        if (s.hasHeader && findSection(s.name) == &s) out.push_back(s.name);
    return out;
}

IniFile::Section& IniFile::sectionForWrite(std::string_view name) {
    if (Section* s = findSection(name)) return *s;
    // A new section goes at the end, set off from the text above by a blank line.
    Section& last = sections_.back();
    const bool endsBlank = !last.lines.empty() && trimBlanks(last.lines.back().raw).empty();
    if ((last.hasHeader || !last.lines.empty()) && !endsBlank) last.lines.push_back(makeLine(""));
    Section section;
    section.hasHeader = true;
    section.name = std::string(name);
    section.header.append(1, '[').append(name).append(1, ']');
    sections_.push_back(std::move(section));
    sectionIndex_.try_emplace(toLowerAscii(name), sections_.size() - 1);
    return sections_.back();
}

void IniFile::ensureSection(std::string_view section) {
    sectionForWrite(section);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = sectionForWrite(section);
    if (const size_t found = findLineIndex(s, key); found != kNoLine) {
        Line& line = s.lines[found];
        if (line.value() == value) return;
        std::string text(line.key());
        // Same key, same place: the key index stays valid.
        line = makeLine(text.append(1, '=').append(value));
        return;
    }
    // After the last entry, so that comments and blank lines below it keep their place.
    size_t at = s.lines.size();
    while (at > 0 && !s.lines[at - 1].isEntry && trimBlanks(s.lines[at - 1].raw).empty()) --at;
    std::string text(key);
    s.lines.insert(s.lines.begin() + ptrdiff_t(at), makeLine(text.append(1, '=').append(value)));
    if (at + 1 == s.lines.size() && s.lines[at].isEntry)
        s.keyIndex.try_emplace(toLowerAscii(s.lines[at].key()), at);  // nothing moved
    else
        invalidate(s);
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s) return;
    const Line* line = findLine(*s, key);
    if (!line) return;
    s->lines.erase(s->lines.begin() + (line - s->lines.data()));
    invalidate(*s);
}

void IniFile::eraseSection(std::string_view section) {
    const std::string name = toLowerAscii(section);
    const auto first = std::remove_if(sections_.begin() + 1, sections_.end(), [&](const Section& s) {
        return s.hasHeader && toLowerAscii(s.name) == name;
    });
    if (first == sections_.end()) return;
    sections_.erase(first, sections_.end());
    rebuildSectionIndex();
}

}  // namespace zantor
