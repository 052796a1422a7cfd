#include <gtest/gtest.h>

#include <limits>

#include "session/settings_file.h"
#include "scripted_interaction.h"

namespace zantor {
namespace {

RunState loaded(const std::string& general, testing::ScriptedInteraction& ui) {
    RunState state;
    state.ProgramFolder = state.TempDir = "/home/op/.config/zantor/";
    state.EditorFont = FontSpec{"DejaVu Sans Mono", 10};
    LoadSettings(IniFile::parse("[GENERAL]\n" + general), state, ui);
    return state;
}

std::string saved(const RunState& state, const std::string& selected = "") {
    IniFile ini;
    SaveSettings(ini, state, selected);
    return ini.serialize();
}

TEST(Settings, NoSettingsFileGivesTheDefaults) {
    testing::ScriptedInteraction ui;
    const RunState s = loaded("", ui);
    EXPECT_FALSE(s.Settings.UseSecure);
    EXPECT_EQ(s.Settings.TabSize, 8);
    EXPECT_EQ(s.Settings.WrapColumn, 80);
    EXPECT_EQ(s.PrintFont, (FontSpec{"Courier New", 11}));
    EXPECT_EQ(s.DtrDelayTicks, 36);
    EXPECT_EQ(s.CurrentMachine, "");
    EXPECT_EQ(s.TempDir, "/home/op/.config/zantor/");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(saved(s),
              "[GENERAL]\nUSESECURE=0\nAUTOIND=0\nBACKUP=1\nWORDWRAP=0\nWRAP2WINDOW=0\n"
              "WRAPCOLUMN=80\nWORDSTAR=0\nTABTYPE=1\nPPRINT=1\nCPRINT=0\nNCWARN=1\n"
              "SHOWSYNTAX=1\nACOLOR=0\nNACOLOR=16711680\nCCOLOR=255\nEDCOLOR=16777215\n"
              "AUTOREMOTE=0\nTABSIZE=8\nPMARGINL=1.00000\nPMARGINT=0.50000\nPMARGINB=0.50000\n"
              "FONTSIZE=10\nFONTCOLOR=0\nFONTBOLD=0\nFONTITALIC=0\nFONTNAME=DejaVu Sans Mono\n"
              "PFONTSIZE=11\nPFONTBOLD=0\nPFONTITALIC=0\nPFONTNAME=Courier New\nCMACHINE=\n"
              "LCOMMENTCHAR=<\nRTSLOWFORWRITE=0\nCOMINSIZE=4096\nCOMOUTSIZE=4096\n"
              "DTRDELAY=2\nCOMOPENDELAY=0\n");
}

TEST(Settings, DelaysConvertThroughTicks) {
    testing::ScriptedInteraction ui;
    const RunState s = loaded("DTRDELAY=-5\nCOMOPENDELAY=3\n", ui);
    EXPECT_EQ(s.DtrDelayTicks, 5);
    EXPECT_EQ(s.ComOpenDelayTicks, 54);
    const std::string text = saved(s);
    EXPECT_NE(text.find("DTRDELAY=0\n"), std::string::npos);
    EXPECT_NE(text.find("COMOPENDELAY=3\n"), std::string::npos);
}

TEST(Settings, OutOfRangeValuesAreClampedOrWarnedNeverWrapped) {
    testing::ScriptedInteraction ui;
    const RunState s = loaded("COMOPENDELAY=2000000000\nPMARGINB=1e400\n", ui);
    EXPECT_EQ(s.ComOpenDelayTicks, std::numeric_limits<int>::max());
    EXPECT_NE(saved(s).find("COMOPENDELAY=117951341\n"), std::string::npos);  // the longest
    EXPECT_EQ(s.Settings.MarginBottom, 0.0);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{
                              "Integer/Real String Conversion Error\nS = [1e400]\nEr = 2"}));
}

TEST(Settings, FontKeysApplyOnlyWithAFontName) {
    testing::ScriptedInteraction ui;
    const RunState ignored = loaded("FONTSIZE=20\nFONTBOLD=1\nFONTCOLOR=255\n", ui);
    EXPECT_EQ(ignored.EditorFont, (FontSpec{"DejaVu Sans Mono", 10}));
    const RunState named = loaded(
        "FONTNAME=Liberation Mono\nFONTSIZE=12\nFONTBOLD=1\nFONTITALIC=1\nFONTCOLOR=255\n"
        "PFONTITALIC=1\nPFONTSIZE=9\n",
        ui);
    EXPECT_EQ(named.EditorFont, (FontSpec{"Liberation Mono", 12, 255, true, true}));
    EXPECT_EQ(named.PrintFont, (FontSpec{"Courier New", 9, 0, false, true}));
}

TEST(Settings, BadMarginWarnsAndReadsZero) {
    testing::ScriptedInteraction ui;
    const RunState s = loaded("PMARGINL=1,5\nPMARGINT=.75\n", ui);
    EXPECT_EQ(s.Settings.MarginLeft, 0.0);
    EXPECT_EQ(s.Settings.MarginTop, 0.75);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Integer/Real String Conversion Error\nS = [1,5]\nEr = 2");
}

TEST(Settings, SavingKeepsOtherKeysAndSectionsAndWritesTheSelectedMachine) {
    testing::ScriptedInteraction ui;
    IniFile ini = IniFile::parse(
        "[GENERAL]\nDNCALERT=1\nLOGGING=1\nTEMPDIR=/tmp/\n[MRU]\n0=/a.tap\n"
        "[PORTS]\n1=/dev/ttyUSB0\n");
    RunState state = loaded("", ui);
    state.CurrentMachine = "Not Listed";
    SaveSettings(ini, state, "Haas");
    EXPECT_EQ(ini.readString("GENERAL", "CMACHINE", ""), "Haas");
    EXPECT_EQ(ini.readString("GENERAL", "DNCALERT", ""), "1");
    EXPECT_TRUE(readLoggingSetting(ini));
    EXPECT_EQ(ini.readString("MRU", "0", ""), "/a.tap");
    EXPECT_EQ(ini.readString("PORTS", "1", ""), "/dev/ttyUSB0");
}

}  // namespace
}  // namespace zantor
