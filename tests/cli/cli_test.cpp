#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

class CliTest : public ::testing::Test {
protected:
    testing::TempFolder home, system;
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", system.path()});
        return testing::runProcess(args);
    }
};

TEST_F(CliTest, MachinesAreAddedListedShownAndDeleted) {
    EXPECT_EQ(cli({"machine", "add", "Haas VF2"}).status, 0);
    EXPECT_EQ(cli({"machine", "add", "Okuma"}).status, 0);
    EXPECT_EQ(cli({"machines"}).out, "Haas VF2\nOkuma\n");

    const ProcessResult shown = cli({"machine", "show", "Okuma"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_TRUE(shown.out.starts_with("MTYPE=1\nABSINC=1\nFORMAT=1\nDIGL=3\n"));
    EXPECT_NE(shown.out.find(
                  "\nPORT=0\nBAUD=4800\nDATABITS=7\nPARITY=E\nSTOPBITS=2\nHDWHAND=0\nFLOW=0\n"),
              std::string::npos);
    EXPECT_TRUE(shown.out.ends_with("RMTDDELAY=30\nRMTOVERWRITE=0\n"));
    // What show prints is what the file holds after the add.
    EXPECT_NE(system.read("WPOSTS.INI").find("[Okuma]\nMTYPE=1\n"), std::string::npos);

    EXPECT_EQ(cli({"machine", "delete", "Haas VF2"}).status, 0);
    EXPECT_EQ(cli({"machines"}).out, "Okuma\n");
}

TEST_F(CliTest, SettingsAndUsers) {
    home.write("ZTR2013.INI", "[GENERAL]\nDTRDELAY=-5\nCMACHINE=Haas\n");
    const ProcessResult settings = cli({"settings"});
    EXPECT_EQ(settings.status, 0);
    EXPECT_TRUE(settings.out.starts_with("USESECURE=0\nAUTOIND=0\nBACKUP=1\n"));
    EXPECT_NE(settings.out.find("\nCMACHINE=Haas\n"), std::string::npos);
    EXPECT_TRUE(settings.out.ends_with("DTRDELAY=0\nCOMOPENDELAY=0\n"));

    system.write("VXNPWL.INI", "[Index]\nzed=#\nAnn=#\n[Defaults]\n_Entries=2\n");
    EXPECT_EQ(cli({"users"}).out, "Ann\nzed\n");
}

TEST_F(CliTest, UsersAreAddedGivenPasswordsAndDeletedWithThePasswordManagersRules) {
    EXPECT_EQ(testing::runProcess({ZANTOR_CLI, "--home", home.path(), "--system", system.path(),
                                   "user", "add", "Ann", "--privileges", "edit,dnc"},
                                  "Lathe7\n")
                  .status,
              0);
    auto userFile = [&] { return system.read("VXNPWL.INI"); };
    EXPECT_NE(userFile().find("[Ann]\nPword=" + std::string("\xE9\xC4\xD1\xCD\xC0\x92") +
                              "\nLevel=48\n"),
              std::string::npos);  // "Lathe7" scrambled
    const ProcessResult refused = testing::runProcess(
        {ZANTOR_CLI, "--home", home.path(), "--system", system.path(), "user", "add", "[QA]"}, "x\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "zantor-cli user add: A user name cannot hold \"=\" or control characters, nor begin with \"[\", \";\" or "
              "a blank.\n");
    EXPECT_EQ(cli({"users"}).out, "Ann\n");

    EXPECT_EQ(testing::runProcess({ZANTOR_CLI, "--home", home.path(), "--system", system.path(),
                                   "user", "password", "ann"},
                                  "naïve\n")
                  .status,
              0);
    EXPECT_NE(userFile().find("Pword=\xCB\xC4\x4A\xD3\xC0\nLevel=48\n"), std::string::npos);
    const ProcessResult noPassword = cli({"user", "password", "Ann"});  // nothing on stdin
    EXPECT_EQ(noPassword.status, 1);
    EXPECT_EQ(noPassword.err, "zantor-cli user password: no password was given on standard input\n");

    EXPECT_EQ(cli({"user", "delete", "ANN"}).status, 0);
    EXPECT_EQ(cli({"users"}).out, "");
    EXPECT_EQ(cli({"user", "delete", "Ann"}).err, "zantor-cli user delete: no user named 'Ann'\n");
}

TEST_F(CliTest, AMachineNameTheDatabaseCannotHoldIsRefused) {
    const ProcessResult r = cli({"machine", "add", "Not Used"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zantor-cli machine add: \"Not Used\" marks a free slot and cannot name a machine.\n");
    EXPECT_EQ(cli({"machines"}).out, "");
}

TEST_F(CliTest, ViewingAPipeSaysItIsNotARegularFile) {
    const std::string fifo = home.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const ProcessResult r = cli({"view", fifo});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli view: " + fifo +
                         ": Not a regular file (a pipe, a device or a socket); only files can be "
                         "read\n");
}

TEST_F(CliTest, MistakesGiveOneLineAndStatusOne) {
    const std::vector<std::vector<std::string>> wrong = {{"machine", "show"},
                                                         {"machine", "rename", "A"},
                                                         {"no-such-command"},
                                                         {"machines", "extra"}};
    for (const auto& args : wrong) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const ProcessResult help = cli({"machine", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("machine show NAME"), std::string::npos);
}

TEST_F(CliTest, AnUnwritableDatabaseIsReportedWithTheSystemText) {
    const ProcessResult r = testing::runProcess(
        {ZANTOR_CLI, "--system", home.file("missing/folder"), "machine", "add", "X"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zantor
