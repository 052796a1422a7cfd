#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <cstdlib>

#include "session/app_session.h"
#include "session/machine_selector.h"
#include "core/ini_store.h"
#include "scripted_interaction.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using Names = std::vector<std::string>;

TEST(MachineSelector, SortsWithoutCaseAndSelectsTheCurrentMachine) {
    MachineSelector selector;
    std::string current;
    selector.FillMachineBox({"okuma", "Haas", "mazak"}, current);
    EXPECT_EQ(selector.entries(), (Names{"Haas", "mazak", "okuma"}));
    EXPECT_EQ(current, "Haas");
    current = "MAZAK";
    selector.FillMachineBox({"okuma", "Haas", "mazak"}, current);
    EXPECT_EQ(selector.selectedText(), "mazak");
    current = "Gone";
    selector.FillMachineBox({"okuma"}, current);
    EXPECT_EQ(selector.selectedIndex(), -1);
    EXPECT_EQ(current, "Gone");
    std::string none;
    selector.FillMachineBox({}, none);
    EXPECT_EQ(none, "");
}

TEST(CommandLine, RemoteSwitchIsCaseSensitiveAndFilesMustExist) {
    testing::TempFolder dir;
    const std::string file = dir.write("a.tap", "G0X1\n");
    const CommandLine remote = parseCommandLine({"CNCREMOTE", "Haas", file});
    EXPECT_TRUE(remote.remoteMode);
    EXPECT_EQ(remote.remoteMachine, "Haas");
    EXPECT_EQ(remote.files, (Names{file}));
    const CommandLine lower = parseCommandLine({"cncremote", dir.file("missing.tap")});
    EXPECT_FALSE(lower.remoteMode);
    EXPECT_TRUE(lower.files.empty());
    EXPECT_EQ(parseCommandLine({"CNCREMOTE"}).remoteMachine, "");
}

class SessionTest : public ::testing::Test {
protected:
    testing::TempFolder dir;
    testing::ScriptedInteraction ui;
    const FontSpec mono{"DejaVu Sans Mono", 10};

    void SetUp() override {
        dir.write("WPOSTS.INI",
                  "[Machine Names]\nNumber=2\nMachine1=okuma\nMachine2=Haas\n[Haas]\nBAUD=9600\n"
                  "[okuma]\nBAUD=2400\n");
    }
    std::unique_ptr<AppSession> session() {
        return std::make_unique<AppSession>(dir.path(), dir.path(), ui);
    }
    std::optional<Credentials> noLogin() { return std::nullopt; }
};

TEST_F(SessionTest, StartsWithTheFirstMachineAndEndsTidy) {
    auto s = session();
    s->create(mono);
    EXPECT_EQ(s->state.CurrentMachine, "Haas");
    const std::regex workFile(dir.path() + "ZTR[0-9A-F]+\\.TMP");
    EXPECT_TRUE(std::regex_match(s->state.SendFile, workFile));
    EXPECT_TRUE(std::filesystem::exists(s->state.SendFile));
    EXPECT_TRUE(std::filesystem::exists(s->state.WorkFile));
    EXPECT_NE(s->state.SendFile, s->state.WorkFile);
    EXPECT_TRUE(std::filesystem::exists(dir.file("VXNPWL.INI")));

    EXPECT_EQ(s->start(CommandLine{}, [] { return std::optional<Credentials>(); }),
              AppSession::StartOutcome::Run);
    EXPECT_EQ(s->state.CurrentSettings.Comm.BaudNum, 6);
    s->machineSelected(1);
    EXPECT_EQ(s->state.CurrentMachine, "okuma");
    EXPECT_EQ(s->state.CurrentSettings.Comm.BaudNum, 4);

    dir.write(s->state.WorkFile.substr(dir.path().size()) + ".XXX", "x");
    s->recentFiles[0] = "/nc/part.tap";
    s->shutdown();
    s->destroy();
    EXPECT_FALSE(std::filesystem::exists(s->state.SendFile));
    EXPECT_FALSE(std::filesystem::exists(s->state.WorkFile));
    EXPECT_FALSE(std::filesystem::exists(s->state.WorkFile + ".XXX"));
    const auto ini = IniStore::read(dir.file("ZTR2013.INI"));
    EXPECT_EQ(ini->readString("GENERAL", "CMACHINE", ""), "okuma");
    EXPECT_EQ(ini->readString("MRU", "0", ""), "/nc/part.tap");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SessionTest, SecurityOnLogsTheStartAndACancelledLoginQuits) {
    dir.write("ZTR2013.INI", "[GENERAL]\nUSESECURE=1\nLOGGING=1\n");
    auto s = session();
    s->create(mono);
    ASSERT_TRUE(s->users.AddUser(UserRec{"op", "", 16}, ui));
    EXPECT_EQ(s->start(CommandLine{}, [] { return std::optional<Credentials>(); }),
              AppSession::StartOutcome::Quit);
    EXPECT_NE(dir.read("ZTRDNC.LOG").find(",-- System Startup --\n"), std::string::npos);
    EXPECT_FALSE(s->mayManagePasswords());
    EXPECT_TRUE(s->changeLogin([] { return std::optional(Credentials{"OP", "x"}); }));
    EXPECT_EQ(s->loginMenuCaption(), "&Logoff User: OP");
    s->setLogging(false);
    EXPECT_FALSE(IniStore::read(dir.file("ZTR2013.INI"))->readBool("GENERAL", "LOGGING", true));
}

TEST_F(SessionTest, WithSecurityOnAnUnreadableUserFileRefusesTheStartWithAMessage) {
    dir.write("ZTR2013.INI", "\xEF\xBB\xBF[GENERAL]\nUSESECURE=1\n");  // a byte-order mark hides nothing
    std::filesystem::create_directory(dir.file("VXNPWL.INI"));        // a folder in its place
    auto s = session();
    s->create(mono);
    EXPECT_TRUE(s->state.Settings.UseSecure);
    ui.messages.clear();
    bool asked = false;
    const auto prompt = [&] {
        asked = true;
        return std::optional(Credentials{"op", ""});
    };
    EXPECT_EQ(s->start(CommandLine{}, prompt), AppSession::StartOutcome::Quit);
    EXPECT_FALSE(s->changeLogin(prompt));
    EXPECT_FALSE(asked);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("Cannot read the user file "));
    EXPECT_EQ(s->security.CurrentRights, 0);
}

TEST_F(SessionTest, RemoteStartSelectsTheNamedMachine) {
    dir.write("ZTR2013.INI", "[GENERAL]\nCMACHINE=okuma\n");
    auto s = session();
    s->create(mono);
    EXPECT_EQ(s->start(parseCommandLine({"CNCREMOTE", "HAAS"}), [] { return std::nullopt; }),
              AppSession::StartOutcome::Remote);
    EXPECT_EQ(s->state.CurrentMachine, "HAAS");
    EXPECT_EQ(s->selector.selectedText(), "Haas");
    EXPECT_EQ(s->state.CurrentSettings.Comm.BaudNum, 6);
    EXPECT_TRUE(s->state.RemoteMode);
}

TEST_F(SessionTest, AnUnreadableSettingsFileStartsWithDefaultsAndSaysSo) {
    std::filesystem::create_directory(
        dir.file("ZTR2013.INI"));  // a folder where the file should be
    auto s = session();
    s->create(mono);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Is a directory"), std::string::npos);
    EXPECT_EQ(s->state.Settings.TabSize, 8);
    s->saveSettings();
    EXPECT_EQ(ui.messages.size(), 2u);  // the save failure is shown, nothing crashes
}

}  // namespace
}  // namespace zantor

namespace zantor {
namespace {

class FirstStartTest : public ::testing::Test {
protected:
    testing::TempFolder dir, home, examples;
    testing::ScriptedInteraction ui;
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

    FirstStartTest() {
        ::setenv("HOME", home.path().c_str(), 1);  // the machines' folder \NCPRG lies below it
        examples.write("O1001.TAP", "%\r\nO1001\r\n%\r\n");
        examples.write("O2001.TAP", "%\r\nO2001\r\n%\r\n");
    }
    ~FirstStartTest() override { ::setenv("HOME", savedHome.c_str(), 1); }
    std::unique_ptr<AppSession> started() {
        auto s = std::make_unique<AppSession>(dir.path(), dir.path(), ui);
        s->examplesFolder = examples.path();
        s->create(FontSpec{"DejaVu Sans Mono", 10});
        s->start(CommandLine{}, [] { return std::optional<Credentials>(); });
        return s;
    }
};

TEST_F(FirstStartTest, YesAddsTheExampleMachinesAndCopiesTheProgramsKeepingTheShopsOwn) {
    std::filesystem::create_directories(home.file("NCPRG"));
    home.write("NCPRG/O2001.TAP", "mine");
    ui.answers.push_back(Answer::Yes);
    auto s = started();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("two example machines"), std::string::npos);
    EXPECT_EQ(s->machines.ListMachines(),
              (std::vector<std::string>{"Example Mill (ISO)", "Example Lathe (EIA, hub 1)"}));
    EXPECT_EQ(s->state.CurrentMachine, "Example Mill (ISO)");
    EXPECT_EQ(s->state.CurrentSettings.Comm.TapeCode, kTapeIso);
    MachineSettings lathe;
    FolderFlags flags;
    s->machines.LoadMachine("Example Lathe (EIA, hub 1)", lathe, flags);
    EXPECT_EQ(lathe.Comm.HubNum, 1);
    EXPECT_EQ(lathe.Comm.TapeCode, kTapeEia);
    EXPECT_NE(dir.read("WPOSTS.INI").find("[HUB1]"), std::string::npos);
    EXPECT_EQ(home.read("NCPRG/O1001.TAP"), "%\r\nO1001\r\n%\r\n");
    EXPECT_EQ(home.read("NCPRG/O2001.TAP"), "mine");

    s->shutdown();
    s.reset();
    ui.messages.clear();
    started();
    EXPECT_TRUE(ui.messages.empty());  // only the first start asks
}

TEST_F(FirstStartTest, NoStartsWithAnEmptyDatabase) {
    ui.answers.push_back(Answer::No);
    auto s = started();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(s->machines.ListMachines().empty());
    EXPECT_FALSE(std::filesystem::exists(home.file("NCPRG/O1001.TAP")));
}

}  // namespace
}  // namespace zantor
