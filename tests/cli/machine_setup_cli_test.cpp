#include <gtest/gtest.h>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

class MachineSetupCliTest : public ::testing::Test {
protected:
    testing::TempFolder home, system, other;
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", system.path()});
        return testing::runProcess(args);
    }
    void SetUp() override {
        ASSERT_EQ(cli({"machine", "add", "Mill 2"}).status, 0);
        ASSERT_EQ(cli({"machine", "add", "Lathe"}).status, 0);
    }
    std::string shown(const std::string& machine, const std::string& key) {
        const std::string out = "\n" + cli({"machine", "show", machine}).out;
        const size_t at = out.find("\n" + key + "=");
        if (at == std::string::npos) return "<none>";
        const size_t begin = at + key.size() + 2;
        return out.substr(begin, out.find('\n', begin) - begin);
    }
};

TEST_F(MachineSetupCliTest, SetChangesKeysAndRefusesBadOnesWithoutWriting) {
    EXPECT_EQ(
        cli({"machine", "set", "Lathe", "MTYPE=2", "baud=9600", "DESCRIPTION=Big lathe"}).status,
        0);
    EXPECT_EQ(shown("Lathe", "MTYPE"), "2");
    EXPECT_EQ(shown("Lathe", "BAUD"), "9600");
    EXPECT_EQ(shown("Lathe", "DESCRIPTION"), "Big lathe");

    const std::string before = system.read("WPOSTS.INI");
    const ProcessResult bad = cli({"machine", "set", "Lathe", "CDELAY=5", "BAUD=1234"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "zantor-cli machine set: Bad value \"1234\" for BAUD.\n");
    const ProcessResult unknown = cli({"machine", "set", "Lathe", "SPEED=1"});
    EXPECT_EQ(unknown.err, "zantor-cli machine set: Unknown machine key \"SPEED\".\n");
    const ProcessResult missing = cli({"machine", "set", "Okuma", "BAUD=9600"});
    EXPECT_EQ(missing.err, "zantor-cli machine set: No machine named \"Okuma\" is listed.\n");
    EXPECT_EQ(system.read("WPOSTS.INI"), before);
}

TEST_F(MachineSetupCliTest, RenameMovesTheMachineAndRefusesAListedName) {
    EXPECT_EQ(cli({"machine", "set", "Lathe", "BAUD=9600"}).status, 0);
    EXPECT_EQ(cli({"machine", "rename", "Lathe", "Okuma"}).status, 0);
    EXPECT_EQ(cli({"machines"}).out, "Mill 2\nOkuma\n");
    EXPECT_EQ(shown("Okuma", "BAUD"), "9600");
    const ProcessResult taken = cli({"machine", "rename", "Okuma", "mill 2"});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, "zantor-cli machine rename: A machine named \"Mill 2\" exists already.\n");
    EXPECT_EQ(cli({"machines"}).out, "Mill 2\nOkuma\n");
}

TEST_F(MachineSetupCliTest, ReportPrintsTheMachineThenTheSummary) {
    EXPECT_EQ(cli({"machine", "set", "Lathe", "MTYPE=4"}).status, 0);
    const ProcessResult r = cli({"machine", "report", "Lathe"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("****** Settings for Machine [Lathe] *******\n", 0), 0u);
    EXPECT_NE(r.out.find("Machine Type                   : Print File\n"
                         "  -- No Additional Settings --\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Name: Mill 2\nSettings: com: 0 baud: 4800 bits: 7 stop: 2 parity: E\n"),
              std::string::npos);
    // Without a name: the current machine of the settings, else the first listed.
    EXPECT_EQ(cli({"machine", "report"}).out.rfind("****** Settings for Machine [Mill 2]", 0), 0u);
}

TEST_F(MachineSetupCliTest, BackupAndRestoreGoThroughAFolder) {
    EXPECT_EQ(cli({"backup", other.path()}).status, 0);
    const std::string saved = other.read("WPOSTS.INI");
    EXPECT_EQ(cli({"machine", "delete", "Lathe"}).status, 0);
    const ProcessResult again = cli({"backup", other.path()});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(other.read("WPOSTS.INI"), saved);
    EXPECT_EQ(cli({"restore", other.path()}).status, 0);
    EXPECT_EQ(cli({"machines"}).out, "Mill 2\nLathe\n");
    EXPECT_EQ(cli({"backup", "--force", other.path()}).status, 0);

    other.write("WPOSTS.INI", "not a database\n");
    const ProcessResult refused = cli({"restore", other.path()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is not a machine database"), std::string::npos);
    EXPECT_EQ(cli({"machines"}).out, "Mill 2\nLathe\n");
}

TEST_F(MachineSetupCliTest, SettingsSetChecksEveryValueBeforeWriting) {
    EXPECT_EQ(cli({"settings", "set", "TABSIZE=4", "COMINSIZE=8192"}).status, 0);
    const std::string settings = cli({"settings"}).out;
    EXPECT_NE(settings.find("\nTABSIZE=4\n"), std::string::npos);
    EXPECT_NE(settings.find("\nCOMINSIZE=8192\n"), std::string::npos);
    const ProcessResult bad = cli({"settings", "set", "TABSIZE=6", "COMOUTSIZE=100"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err,
              "zantor-cli settings set: Bad value \"100\" for COMOUTSIZE: a whole number from 128 "
              "to 65535 is needed.\n");
    EXPECT_NE(cli({"settings"}).out.find("\nTABSIZE=4\n"), std::string::npos);
}

}  // namespace
}  // namespace zantor
