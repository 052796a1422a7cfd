#include "machines/machine_keys.h"

#include <gtest/gtest.h>

#include "machines/machine_section.h"

namespace zantor {
namespace {

std::string stored(const MachineSettings& s, const std::string& key) {
    for (const auto& [k, v] : machineSectionEntries(s))
        if (k == key) return v;
    return "<none>";
}

TEST(SetMachineKey, GoodValuesSetTheirFieldsInAnyKeyCase) {
    struct Case {
        const char* key;
        const char* value;
        const char* storedKey;
    };
    const Case cases[] = {
        {"mtype", "2", "MTYPE"},
        {"BAUD", "9600", "BAUD"},
        {"parity", "O", "PARITY"},
        {"CDELAY", "999", "CDELAY"},
        {"DESCRIPTION", "Lathe 1", "DESCRIPTION"},
        {"DIGL", "2", "DIGL"},
        {"FLOW", "3", "FLOW"},
        {"nmname", "Mill 2", "Nmname"},
        {"RFSUBO21", "G90", "RFSUBO21"},
        {"DTYPE", "4", "DTYPE"},
        {"REDUN", "1", "REDUN"},
    };
    for (const Case& c : cases) {
        MachineSettings s = defaultMachineSettings();
        EXPECT_EQ(setMachineKey(s, c.key, c.value), "") << c.key;
        EXPECT_EQ(stored(s, c.storedKey), c.value) << c.key;
    }
}

TEST(SetMachineKey, FlowCarriesRtsCtsAsItsCodeSays) {
    MachineSettings s = defaultMachineSettings();
    ASSERT_EQ(setMachineKey(s, "FLOW", "3"), "");
    EXPECT_EQ(s.Comm.XonXoff, kXonXoffSendRecv);
    EXPECT_EQ(s.Comm.RtsCts, 1);
    ASSERT_EQ(setMachineKey(s, "FLOW", "4"), "");
    EXPECT_EQ(s.Comm.XonXoff, kXonXoffSend);
}

TEST(SetMachineKey, BadValuesAndUnknownKeysAreRefusedAndChangeNothing) {
    const std::pair<const char*, const char*> bad[] = {
        {"MTYPE", "6"},     {"MTYPE", "mill"}, {"BAUD", "1234"},  {"PARITY", "X"}, {"PARITY", ""},
        {"CDELAY", "5000"}, {"XOFFTIME", "0"}, {"EOFTIME", "-1"}, {"ECHO", "2"},   {"TCODE", "7"},
        {"DIGL", "three"},  {"LLEN", "-3"},    {"ABSINC", "5"},   {"PORT", "300"}, {"FLOW", "9"},
        {"AROPPR", "5"},    {"HUB", "x"},      {"SEQOUT", "yes"},
    };
    for (const auto& [key, value] : bad) {
        MachineSettings s = defaultMachineSettings();
        const std::string problem = setMachineKey(s, key, value);
        EXPECT_EQ(problem.rfind(std::string("Bad value \"") + value + "\" for " + key + ".", 0), 0u)
            << key << "=" << value << ": " << problem;
        EXPECT_EQ(s, defaultMachineSettings()) << key;
    }
    MachineSettings s = defaultMachineSettings();
    EXPECT_EQ(setMachineKey(s, "M1N", "Drill"), "Unknown machine key \"M1N\".");
    EXPECT_EQ(setMachineKey(s, "SPEED", "1"), "Unknown machine key \"SPEED\".");
}

}  // namespace
}  // namespace zantor
