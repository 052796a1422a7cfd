#include "session/settings_keys.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

TEST(GeneralKeys, UsableValuesAreWrittenUnderTheKeysOwnName) {
    const std::pair<const char*, const char*> good[] = {
        {"tabsize", "4"},        {"USESECURE", "1"},     {"COMINSIZE", "128"},
        {"COMOUTSIZE", "65535"}, {"DTRDELAY", "0"},      {"PMARGINL", "7.5"},
        {"PMARGINT", "0.25"},    {"ACOLOR", "16777215"}, {"FONTNAME", "DejaVu Sans Mono"},
        {"LCOMMENTCHAR", ""},    {"TABTYPE", "2"},       {"LOGGING", "0"},
    };
    for (const auto& [key, value] : good) {
        IniFile ini;
        EXPECT_EQ(setGeneralKey(ini, key, value), "") << key;
        EXPECT_EQ(ini.readString("GENERAL", key, "<none>"), value) << key;
    }
    IniFile ini;
    setGeneralKey(ini, "tabsize", "4");
    EXPECT_EQ(ini.keys("GENERAL"), std::vector<std::string>{"TABSIZE"});
}

TEST(GeneralKeys, ValuesTheProgramCannotUseAreRefusedWithTheReason) {
    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"COMINSIZE", "127", "a whole number from 128 to 65535 is needed."},
        {"COMOUTSIZE", "65536", "a whole number from 128 to 65535 is needed."},
        {"DTRDELAY", "-5", "a whole number from 0 to 2147483647 is needed."},
        {"COMOPENDELAY", "x", "a whole number from 0 to 2147483647 is needed."},
        {"BACKUP", "2", "0 or 1 is needed."},
        {"TABTYPE", "3", "a whole number from 0 to 2 is needed."},
        {"TABSIZE", "0", "a whole number from 1 to 256 is needed."},
        {"PMARGINL", "8", "a margin from 0 to 7.5 inches leaves room for a printed line."},
        {"PMARGINB", "-1", "a margin from 0 to 5 inches leaves room for a printed line."},
        {"PMARGINT", "1/2", "a number of inches is needed."},
        {"EDCOLOR", "16777216", "a whole number from 0 to 16777215 is needed."},
    };
    for (const auto& [key, value, why] : bad) {
        IniFile ini;
        EXPECT_EQ(setGeneralKey(ini, key, value),
                  std::string("Bad value \"") + value + "\" for " + key + ": " + why);
        EXPECT_FALSE(ini.hasSection("GENERAL")) << key;
    }
    IniFile ini;
    EXPECT_EQ(setGeneralKey(ini, "COLOUR", "1"), "Unknown setting \"COLOUR\".");
}

}  // namespace
}  // namespace zantor
