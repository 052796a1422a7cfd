#include "machines/machine_section.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace zantor {
namespace {

MachineSettings load(const std::string& sectionText, MachineSettings before = MachineSettings{}) {
    readMachineSection(IniFile::parse("[M]\n" + sectionText), "M", before);
    return before;
}

TEST(MachineSection, ASectionWithoutKeysLoadsTheDefaults) {
    const MachineSettings s = load("");
    const MachineFormat& f = s.Format;
    EXPECT_EQ(f.MachType, kMill);
    EXPECT_EQ(f.AbsInc, 1);
    EXPECT_EQ(f.NumFormat, 1);
    EXPECT_EQ(f.DigitsLeft, "3");
    EXPECT_EQ(f.DigitsRight, "4");
    EXPECT_EQ(f.LatheXFormat, 3);
    EXPECT_EQ(f.ArcType, 5);
    EXPECT_EQ(f.RapidCode + f.LinearCode + f.CwCode + f.CcwCode, "G00G01G02G03");
    EXPECT_TRUE(f.SeqOut);
    EXPECT_EQ(f.StartSeq, "10");
    EXPECT_EQ(f.FeedDigits, "2");
    EXPECT_EQ(f.CommentStart + f.CommentEnd, "()");
    EXPECT_EQ(f.ProgramId, "O");
    EXPECT_EQ(f.DefaultExt, "TAP");
    EXPECT_EQ(f.UploadFolder, "\\NCPRG");
    EXPECT_EQ(f.LoadSaveFolder, "\\NCPRG");
    const MachComRec& c = s.Comm;
    EXPECT_EQ(c.PortNum, -1);
    EXPECT_EQ(c.BaudNum, 5);  // 4800
    EXPECT_EQ(c.BitsNum, 3);  // 7
    EXPECT_EQ(c.ParityNum, 2);
    EXPECT_EQ(c.StopBitsNum, 2);
    EXPECT_EQ(c.XonXoff, kXonXoffNone);
    EXPECT_EQ(c.RtsCts, 0);
    EXPECT_EQ(c.TapeCode, kTapeIso);
    EXPECT_EQ(c.EofTime, 10);
    EXPECT_EQ(c.XoffTime, 1);
    EXPECT_EQ(c.MultiFileDelay, 1);
    EXPECT_EQ(c.RmtSendDelay + c.RmtRecvDelay + c.RmtDirDelay, 90);
    EXPECT_EQ(s.Utilities.ResequenceSkipChars, "<(%=$#OE\\^@:");
    EXPECT_EQ(s.Utilities.ArithmeticOperation, 1);
}

struct ReadCase {
    const char* keys;
    int MachComRec::*field;
    int expected;
};

// Names each case by its keys, so ctest lists readable, stable test names.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.keys)) << " reads as " << c.expected;
}

class MachineSectionReadRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MachineSectionReadRules, StoredValueReadsAs) {
    MachineSettings before;
    before.Comm.ParityNum = 1;  // odd, held by the previous machine
    before.Comm.XonXoff = kXonXoffReceive;
    const ReadCase& c = GetParam();
    EXPECT_EQ(load(c.keys, before).Comm.*c.field, c.expected) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MachineSectionReadRules,
    ::testing::Values(ReadCase{"PARITY=S\n", &MachComRec::ParityNum, 4},
                      ReadCase{"PARITY=mark\n", &MachComRec::ParityNum, 3},
                      ReadCase{"PARITY=X\n", &MachComRec::ParityNum, 1},
                      ReadCase{"PARITY=\n", &MachComRec::ParityNum, 1},
                      ReadCase{"FLOW=3\n", &MachComRec::XonXoff, kXonXoffSendRecv},
                      ReadCase{"FLOW=3\n", &MachComRec::RtsCts, 1},
                      ReadCase{"FLOW=3\nHDWHAND=0\n", &MachComRec::RtsCts, 0},
                      ReadCase{"FLOW=0\nHDWHAND=1\n", &MachComRec::RtsCts, 1},
                      ReadCase{"FLOW=9\n", &MachComRec::XonXoff, kXonXoffReceive},
                      ReadCase{"FLOW=\n", &MachComRec::XonXoff, kXonXoffNone},
                      ReadCase{"BAUD=9600\n", &MachComRec::BaudNum, 6},
                      ReadCase{"BAUD=9601\n", &MachComRec::BaudNum, -1},
                      ReadCase{"BAUD=\n", &MachComRec::BaudNum, -1},
                      ReadCase{"STOPBITS=1.5\n", &MachComRec::StopBitsNum, 1},
                      ReadCase{"DATABITS=8\n", &MachComRec::BitsNum, 4},
                      ReadCase{"PORT=3\n", &MachComRec::PortNum, 2},
                      ReadCase{"PORT=NA\n", &MachComRec::PortNum, -1},
                      ReadCase{"PORT=257\n", &MachComRec::PortNum, -1},
                      ReadCase{"XOFFTIME=0\n", &MachComRec::XoffTime, 1},
                      ReadCase{"CDELAY=5000\n", &MachComRec::CharDelay, 999},
                      ReadCase{"EOFTIME=-3\n", &MachComRec::EofTime, 0},
                      ReadCase{"TCODE=7\n", &MachComRec::TapeCode, -1},
                      ReadCase{"DTYPE=9\n", &MachComRec::DeviceType, -1},
                      ReadCase{"LLEN=12.5\n", &MachComRec::LeaderLen, 0},
                      ReadCase{"LLEN=24\n", &MachComRec::LeaderLen, 24},
                      ReadCase{"ECHO=0\n", &MachComRec::LocalEcho, 0}));

TEST(MachineSection, FormatReadRules) {
    EXPECT_FALSE(load("SEQOUT=2\n").Format.SeqOut);
    EXPECT_EQ(load("ARCTYPE=0\n").Format.ArcType, 6);
    EXPECT_EQ(load("ARCTYPE=6\n").Format.ArcType, 6);
    EXPECT_EQ(load("FORMAT=7\n").Format.NumFormat, 1);
    EXPECT_EQ(load("MTYPE=2\n").Format.MachType, kLathe);
    EXPECT_EQ(load("MTYPE=6\n").Format.MachType, -1);
    EXPECT_EQ(load("LXFORMAT=4\n").Format.LatheXFormat, -1);
    MachineSettings before;
    before.Utilities.ArithmeticOperation = 3;
    EXPECT_EQ(load("AROPPR=7\n", before).Utilities.ArithmeticOperation, 3);
    EXPECT_EQ(load("AROPPR=4\n", before).Utilities.ArithmeticOperation, 4);
    EXPECT_EQ(load("RFSUBO3=" + std::string(100, 'A') + "\n").Utilities.SubstituteOld[2],
              std::string(80, 'A'));
}

TEST(MachineSection, WrittenFormsFollowTheSavedOrder) {
    MachineSettings s = defaultMachineSettings();
    s.Comm.XonXoff = kXonXoffSend;
    s.Comm.RtsCts = 1;
    s.Comm.ParityNum = 4;
    s.Comm.BaudNum = -1;
    s.Format.AbsInc = 7;
    const KeyValueList entries = machineSectionEntries(s);
    ASSERT_EQ(entries.size(), 44u + 42u + 6u + 54u);
    EXPECT_EQ(entries.front().first, "MTYPE");
    EXPECT_EQ(entries[43].first, "Nmname");
    EXPECT_EQ(entries[44].first, "RFSUBO1");
    EXPECT_EQ(entries[45].first, "RFSUBN1");
    EXPECT_EQ(entries[86].first, "FCOPT1");
    EXPECT_EQ(entries[92].first, "HUB");
    EXPECT_EQ(entries.back().first, "RMTOVERWRITE");
    auto value = [&](const std::string& key) {
        for (const auto& [k, v] : entries)
            if (k == key) return v;
        return std::string("<missing>");
    };
    EXPECT_EQ(value("FLOW"), "4");
    EXPECT_EQ(value("HDWHAND"), "1");
    EXPECT_EQ(value("PARITY"), "S");
    EXPECT_EQ(value("BAUD"), "");
    EXPECT_EQ(value("PORT"), "0");
    EXPECT_EQ(value("ABSINC"), "2");
    EXPECT_EQ(value("STOPBITS"), "2");
}

TEST(MachineSection, EverySettingSurvivesASaveAndALoad) {
    MachineSettings s = defaultMachineSettings();
    s.Format.MachType = kLathe;
    s.Format.NumFormat = 4;
    s.Format.Description = "Okuma lathe; bar feeder";
    s.Comm.PortNum = 7;
    s.Comm.XonXoff = kXonXoffSend;
    s.Comm.RtsCts = 1;
    s.Comm.ParityNum = -1;  // nothing selected must not break the round trip
    s.Comm.SendInit = "/013/$11";
    s.Utilities.SubstituteNew[20] = "M30";
    s.Utilities.CleanupOptions[5] = true;
    IniFile ini;
    for (const auto& [key, v] : machineSectionEntries(s)) ini.writeString("Lathe", key, v);
    MachineSettings loaded;
    loaded.Comm.ParityNum = -1;  // the previous machine had none either
    readMachineSection(ini, "Lathe", loaded);
    EXPECT_EQ(loaded, s);
}

}  // namespace
}  // namespace zantor
