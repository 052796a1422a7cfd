#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace zantor {
namespace {

TEST(IniFile, NamesMatchWithoutRegardToCaseAndValuesAreTrimmed) {
    const IniFile ini = IniFile::parse("[Machine Names]\nNumber = 3 \nmachine1=Haas VF2\n");
    EXPECT_TRUE(ini.hasSection("MACHINE NAMES"));
    EXPECT_EQ(ini.readInt("machine names", "NUMBER", 0), 3);
    EXPECT_EQ(ini.readString("MACHINE NAMES", "Machine1", ""), "Haas VF2");
    EXPECT_EQ(ini.readString("MACHINE NAMES", "Machine2", "Not Used"), "Not Used");
    EXPECT_EQ(ini.readString("Other", "Machine1", "none"), "none");
}

TEST(IniFile, IntegersThatAreNotWholeNumbersReadAsTheDefault) {
    const IniFile ini =
        IniFile::parse("[S]\na=12\nb=-7\nc=12abc\nd=\ne=1.5\nf=99999999999\ng=+4\nh= 8 \n");
    const std::pair<const char*, int> cases[] = {{"a", 12}, {"b", -7}, {"c", 5},
                                                 {"d", 5},  {"e", 5},  {"f", 5},
                                                 {"g", 4},  {"h", 8},  {"missing", 5}};
    for (const auto& [key, expected] : cases) EXPECT_EQ(ini.readInt("S", key, 5), expected) << key;
    EXPECT_TRUE(IniFile::parse("[S]\nx=2\n").readBool("S", "x", false));
    EXPECT_FALSE(IniFile::parse("[S]\nx=0\n").readBool("S", "x", true));
    EXPECT_TRUE(IniFile::parse("[S]\nx=yes\n").readBool("S", "x", true));
}

TEST(IniFile, WritingAKeyKeepsEverythingElseByteForByte) {
    const std::string text =
        "; shop machines\r\n[GENERAL]\r\nUSESECURE=0\r\n  Odd line without equals\r\n"
        "UNKNOWN = keep me \r\n\r\n[MRU]\r\n0=/nc/a.tap\r\n";
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.serialize(), text);
    ini.writeString("general", "usesecure", "1");
    ini.writeString("GENERAL", "TABSIZE", "4");
    EXPECT_EQ(ini.serialize(),
              "; shop machines\r\n[GENERAL]\r\nUSESECURE=1\r\n  Odd line without equals\r\n"
              "UNKNOWN = keep me \r\nTABSIZE=4\r\n\r\n[MRU]\r\n0=/nc/a.tap\r\n");
}

TEST(IniFile, NewSectionsGoAtTheEndAndEmptyFilesStayLineEndLf) {
    IniFile ini;
    ini.writeString("HUB1", "PORT", "3");
    ini.writeString("HUB2", "PORT", "NA");
    EXPECT_EQ(ini.serialize(), "[HUB1]\nPORT=3\n\n[HUB2]\nPORT=NA\n");
    EXPECT_EQ(IniFile().serialize(), "");
}

TEST(IniFile, AWrittenKeyReadsBackAsItWouldAfterSavingAndLoading) {
    IniFile ini;
    ini.writeString("S", " Port ", "3");  // blanks around a key are not part of its name
    EXPECT_EQ(ini.readString("S", "port", ""), "3");
    EXPECT_EQ(IniFile::parse(ini.serialize()).readString("S", "port", ""), "3");
}

TEST(IniFile, AByteOrderMarkIsSkippedOnReadingAndKeptOnWriting) {
    IniFile ini = IniFile::parse("\xEF\xBB\xBF[GENERAL]\r\nUSESECURE=1\r\n");
    EXPECT_EQ(ini.readInt("GENERAL", "USESECURE", 0), 1);
    ini.writeString("GENERAL", "TABSIZE", "4");
    EXPECT_EQ(ini.serialize(), "\xEF\xBB\xBF[GENERAL]\r\nUSESECURE=1\r\nTABSIZE=4\r\n");
}

TEST(IniFile, SectionNamesHoldingBracketsRoundTrip) {
    IniFile ini;
    for (const char* name : {"Mill [2]", "A]B", "[x]"}) ini.writeString(name, "BAUD", name);
    const IniFile reread = IniFile::parse(ini.serialize());
    for (const char* name : {"Mill [2]", "A]B", "[x]"})
        EXPECT_EQ(reread.readString(name, "BAUD", ""), name) << name;
    EXPECT_EQ(reread.sectionNames(), (std::vector<std::string>{"Mill [2]", "A]B", "[x]"}));
}

TEST(IniFile, ErasingASectionRemovesEveryCopyOfIt) {
    IniFile ini = IniFile::parse("[DUP]\nBAUD=1\n[Other]\nk=v\n[dup]\nBAUD=2\n");
    ini.eraseSection("Dup");
    EXPECT_FALSE(ini.hasSection("DUP"));
    EXPECT_EQ(ini.serialize(), "[Other]\nk=v\n");
}

TEST(IniFile, DuplicatedSectionsAndKeysReadTheFirstAndKeepTheRest) {
    IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[a]\nk=3\nother=4\n");
    EXPECT_EQ(ini.readString("A", "k", ""), "1");
    EXPECT_EQ(ini.readString("A", "other", "none"), "none");
    EXPECT_EQ(ini.keys("A"), (std::vector<std::string>{"k"}));
    ini.writeString("A", "k", "9");
    EXPECT_EQ(ini.serialize(), "[A]\nk=9\nk=2\n[a]\nk=3\nother=4\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"A"}));
}

TEST(IniFile, DamagedFilesLoadAndLoseNothingOnTheNextWrite) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += char((i * 37) & 0xFF);  // NULs, CRs, "[" and "="
    const std::string longLine(1 << 20, 'X');
    const std::string text = "[M]\nA=1\n" + garbage + "\n" + longLine + "=" + longLine +
                             "\n[N]\nB=2";  // no final line end
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.readString("N", "B", ""), "2");
    EXPECT_EQ(ini.readString("M", "A", ""), "1");
    ini.writeString("N", "C", "3");
    const std::string written = ini.serialize();
    EXPECT_NE(written.find(garbage.substr(0, 60)), std::string::npos);
    EXPECT_NE(written.find(longLine + "=" + longLine), std::string::npos);
    EXPECT_TRUE(written.ends_with("[N]\nB=2\nC=3\n"));
    // Reading the written text again gives the same values.
    const IniFile again = IniFile::parse(written);
    EXPECT_EQ(again.readString("N", "C", ""), "3");
    EXPECT_EQ(again.readString("M", "A", ""), "1");
}

TEST(IniFile, StrayCarriageReturnsBeforeALineEndStayOutOfValuesAndSaves) {
    const IniFile ini = IniFile::parse("[M]\nA=1\r\r\n\r\r\nB=2\n");
    EXPECT_EQ(ini.readString("M", "A", ""), "1");
    const std::string saved = ini.serialize();
    EXPECT_EQ(saved, "[M]\nA=1\n\nB=2\n");
    EXPECT_EQ(IniFile::parse(saved).serialize(), saved);
}

TEST(IniFile, DeleteKeyAndEraseSection) {
    IniFile ini =
        IniFile::parse("[Index]\nAnn=#\nBob=#\n[Ann]\nPword=x\nLevel=3\n[Bob]\nLevel=1\n");
    ini.deleteKey("index", "ANN");
    ini.eraseSection("ann");
    EXPECT_EQ(ini.serialize(), "[Index]\nBob=#\n[Bob]\nLevel=1\n");
    EXPECT_FALSE(ini.hasSection("Ann"));
    EXPECT_EQ(ini.readInt("Bob", "Level", 0), 1);
    ini.ensureSection("Empty");
    EXPECT_TRUE(ini.hasSection("EMPTY"));
    EXPECT_TRUE(ini.keys("Empty").empty());
}

}  // namespace
}  // namespace zantor
