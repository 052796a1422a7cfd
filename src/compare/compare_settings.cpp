#include "compare/compare_settings.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/ini_file.h"

namespace zantor::compare {

namespace {

IniFile readIni(const std::string& path) {
    try {
        return IniFile::parse(readFileBytes(path));
    } catch (const FileError&) {
        return IniFile::parse("");
    }
}

}  // namespace

CompareSettings ReadCompareSettings(const std::string& path) {
    const IniFile ini = readIni(path);
    CompareSettings s;
    s.folder1 = ini.readString("Source Paths", "Source1 Path", "");
    s.folder2 = ini.readString("Source Paths", "Source2 Path", "");
    s.options.caseSensitive = ini.readBool("Match Options", "Case Sensitive", false);
    s.options.excludeLeadingWhitespace = ini.readBool("Match Options", "Exclude Leading Whitespace", false);
    // An index outside the radio group selects nothing there; the first choice serves.
    const int matches = ini.readInt("Output Options", "Display Matches", 0);
    s.options.matching = MatchingLines(std::clamp(matches, 0, 2) == matches ? matches : 0);
    const int displayed = ini.readInt("Output Options", "Display Differences", 0);
    s.options.displayed = DisplayedLines(std::clamp(displayed, 0, 2) == displayed ? displayed : 0);
    s.options.labelBlankLines = ini.readBool("Output Options", "Label Blank Lines", false);
    s.deleteCreatedFiles = ini.readBool("File Options", "Delete Created Files", false);
    return s;
}

void WriteCompareSettings(const std::string& path, const CompareSettings& s) {
    IniFile ini = readIni(path);
    ini.writeString("Source Paths", "Source1 Path", s.folder1);
    ini.writeString("Source Paths", "Source2 Path", s.folder2);
    ini.writeBool("Match Options", "Case Sensitive", s.options.caseSensitive);
    ini.writeBool("Match Options", "Exclude Leading Whitespace", s.options.excludeLeadingWhitespace);
    ini.writeInt("Output Options", "Display Matches", int(s.options.matching));
    ini.writeInt("Output Options", "Display Differences", int(s.options.displayed));
    ini.writeBool("Output Options", "Label Blank Lines", s.options.labelBlankLines);
    ini.writeBool("File Options", "Delete Created Files", s.deleteCreatedFiles);
    writeFileAtomically(path, ini.serialize());
}

std::string CompareSettingsPath(const std::string& systemFolder, const std::string& programFile) {
    std::string name = programFile.substr(programFile.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return systemFolder + name + ".INI";
}

}  // namespace zantor::compare
