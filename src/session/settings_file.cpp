#include "session/settings_file.h"

#include "core/folders.h"
#include "core/real_text.h"
#include "core/ticks.h"

namespace zantor {

namespace {
constexpr const char* kGeneral = "GENERAL";

std::string flag(bool value) {
    return value ? "1" : "0";
}
}  // namespace

void LoadSettings(const IniFile& ini, RunState& state, Interaction& interaction) {
    AppSettings& s = state.Settings;
    auto boolean = [&](const char* key, bool fallback) {
        return ini.readBool(kGeneral, key, fallback);
    };
    auto integer = [&](const char* key, int fallback) {
        return ini.readInt(kGeneral, key, fallback);
    };
    auto text = [&](const char* key, const std::string& fallback) {
        return ini.readString(kGeneral, key, fallback);
    };
    s.UseSecure = boolean("USESECURE", false);
    s.DncAlert = boolean("DNCALERT", false);
    s.AutoIndent = boolean("AUTOIND", false);
    s.Backup = boolean("BACKUP", true);
    s.WordWrap = boolean("WORDWRAP", false);
    s.WrapToWindow = boolean("WRAP2WINDOW", false);
    s.WrapColumn = integer("WRAPCOLUMN", 80);
    s.WordStar = boolean("WORDSTAR", false);
    s.TabType = integer("TABTYPE", 1);
    s.PrettyPrint = boolean("PPRINT", true);
    s.ColorPrint = boolean("CPRINT", false);
    s.NcWarn = boolean("NCWARN", true);
    s.Analyzer = text("ANALYZER", "");
    s.ShowSyntax = boolean("SHOWSYNTAX", true);
    s.AutoRemote = boolean("AUTOREMOTE", false);
    s.TabSize = integer("TABSIZE", 8);
    s.MarginLeft = ParseRealOrWarn(text("PMARGINL", "1.0"), interaction);
    s.MarginTop = ParseRealOrWarn(text("PMARGINT", "0.5"), interaction);
    s.MarginBottom = ParseRealOrWarn(text("PMARGINB", "0.5"), interaction);
    state.CurrentMachine = text("CMACHINE", state.CurrentMachine);
    const std::string tempDir = text("TEMPDIR", state.TempDir);
    state.TempDir =
        tempDir.empty() ? state.ProgramFolder : withTrailingSeparator(folderTextToPath(tempDir));
    state.DtrDelayTicks = StoredDelayToTicks(integer("DTRDELAY", 2));
    state.ComOpenDelayTicks = StoredDelayToTicks(integer("COMOPENDELAY", 0));
    s.LineCommentChar = text("LCOMMENTCHAR", "<");
    s.RtsLowForWrite = boolean("RTSLOWFORWRITE", false);
    s.ComInSize = integer("COMINSIZE", 4096);
    s.ComOutSize = integer("COMOUTSIZE", 4096);
    s.AlphaColor = integer("ACOLOR", 0);
    s.NonAlphaColor = integer("NACOLOR", 16711680);
    s.CommentColor = integer("CCOLOR", 255);
    s.EditorColor = integer("EDCOLOR", 16777215);

    const std::string fontName = text("FONTNAME", "");
    if (!fontName.empty()) {
        FontSpec& f = state.EditorFont;
        f.size = integer("FONTSIZE", 9);
        f.color = integer("FONTCOLOR", 0);
        if (boolean("FONTBOLD", false)) {
            f.bold = true;
            f.italic = false;
        }
        if (boolean("FONTITALIC", false)) f.italic = true;
        f.name = fontName;
    }
    FontSpec& p = state.PrintFont;
    p.size = integer("PFONTSIZE", 11);
    if (boolean("PFONTBOLD", false)) p.bold = true;
    if (boolean("PFONTITALIC", false)) p.italic = true;
    p.name = text("PFONTNAME", "Courier New");
}

KeyValueList generalEntries(const RunState& state, const std::string& selectedMachine) {
    const AppSettings& s = state.Settings;
    const FontSpec& f = state.EditorFont;
    const FontSpec& p = state.PrintFont;
    KeyValueList entries = {
        {"USESECURE", flag(s.UseSecure)},
        {"AUTOIND", flag(s.AutoIndent)},
        {"BACKUP", flag(s.Backup)},
        {"WORDWRAP", flag(s.WordWrap)},
        {"WRAP2WINDOW", flag(s.WrapToWindow)},
        {"WRAPCOLUMN", std::to_string(s.WrapColumn)},
        {"WORDSTAR", flag(s.WordStar)},
        {"TABTYPE", std::to_string(s.TabType)},
        {"PPRINT", flag(s.PrettyPrint)},
        {"CPRINT", flag(s.ColorPrint)},
        {"NCWARN", flag(s.NcWarn)},
        {"SHOWSYNTAX", flag(s.ShowSyntax)},
        {"ACOLOR", std::to_string(s.AlphaColor)},
        {"NACOLOR", std::to_string(s.NonAlphaColor)},
        {"CCOLOR", std::to_string(s.CommentColor)},
        {"EDCOLOR", std::to_string(s.EditorColor)},
        {"AUTOREMOTE", flag(s.AutoRemote)},
        {"TABSIZE", std::to_string(s.TabSize)},
        {"PMARGINL", FormatReal5(s.MarginLeft)},
        {"PMARGINT", FormatReal5(s.MarginTop)},
        {"PMARGINB", FormatReal5(s.MarginBottom)},
        {"FONTSIZE", std::to_string(f.size)},
        {"FONTCOLOR", std::to_string(f.color)},
        {"FONTBOLD", flag(f.bold)},
        {"FONTITALIC", flag(f.italic)},
        {"FONTNAME", f.name},
        {"PFONTSIZE", std::to_string(p.size)},
        {"PFONTBOLD", flag(p.bold)},
        {"PFONTITALIC", flag(p.italic)},
        {"PFONTNAME", p.name},
        {"CMACHINE", selectedMachine},
        {"LCOMMENTCHAR", s.LineCommentChar},
        {"RTSLOWFORWRITE", flag(s.RtsLowForWrite)},
        {"COMINSIZE", std::to_string(s.ComInSize)},
        {"COMOUTSIZE", std::to_string(s.ComOutSize)},
        {"DTRDELAY", std::to_string(TicksToSecs(state.DtrDelayTicks))},
        {"COMOPENDELAY", std::to_string(TicksToSecs(state.ComOpenDelayTicks))},
    };
    // Written once set, so a shop without an analyzer keeps its file as it was.
    if (!s.Analyzer.empty()) entries.push_back({"ANALYZER", s.Analyzer});
    return entries;
}

void SaveSettings(IniFile& ini, const RunState& state, const std::string& selectedMachine) {
    for (const auto& [key, value] : generalEntries(state, selectedMachine))
        ini.writeString(kGeneral, key, value);
}

bool readLoggingSetting(const IniFile& ini) {
    return ini.readBool(kGeneral, "LOGGING", false);
}

void writeLoggingSetting(IniFile& ini, bool enabled) {
    ini.writeBool(kGeneral, "LOGGING", enabled);
}

}  // namespace zantor
