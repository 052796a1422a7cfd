#include "dnc/shop_terminal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/text_util.h"
#include "dnc/dnc_station.h"
#include "dnc/port/file_transfer.h"
#include "dnc/shop_terminal_text.h"
#include "fake_line_simulator.h"
#include "port/fake_port_fixture.h"
#include "recording_sink.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

using testing::FakeLineSimulator;
using testing::MachineProfile;
using testing::MachineSimulator;

TEST(ShopTerminalText, AnswersLoseTheirLineEndAndApplyBackspaces) {
    EXPECT_EQ(terminalAnswer("\nAB\x08" "C"), "AC");
    EXPECT_EQ(terminalAnswer("\x08\x08" "A"), "A");
    EXPECT_EQ(terminalAnswer("A\x08\x08" "B\r"), "B");
    EXPECT_EQ(terminalAnswer("\n"), "");
    EXPECT_EQ(terminalAnswer(std::string(300, 'x')).size(), 255u);
}

TEST(ShopTerminalText, FileLinesShowTheNameAndTheSize) {
    EXPECT_EQ(terminalDirectoryLine("PART1.TAP", 5000), "PART1    5000  Chrs");
    EXPECT_EQ(terminalDirectoryLine("PART1.TAP", 20480), "PART1      20k Chrs");
    EXPECT_EQ(terminalDirectoryLine("LONGERNAME", 9216), "LONGERNAME9216  Chrs");
    EXPECT_EQ(terminalDirectoryLine("A.B.C", 7), "A           7  Chrs");
}

class FakeHost : public ShopTerminalHost {
public:
    std::vector<std::string> machineNames() override { return {"Mill", "Lathe"}; }
    std::optional<MachineSettings> machineSettings(const std::string& name) override {
        // The machine database finds names without regard to case.
        for (const auto& [listed, settings] : machines)
            if (equalsIgnoreCase(listed, name)) return settings;
        return std::nullopt;
    }
    bool switchTo(const std::string& name) override {
        switched.push_back(name);
        return true;
    }
    void backToHome() override { ++homes; }
    bool hasPrivilege(int) override { return privileged; }
    void operatorMessage(const std::string& text) override { messages.push_back(text); }
    bool shutDownTicked() override { return shutDown; }
    void tickShutDown() override { shutDown = true; }

    std::map<std::string, MachineSettings> machines;
    std::vector<std::string> switched, messages;
    int homes = 0;
    bool privileged = true, shutDown = false;
};

class NoWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string&) override {}
    void hideWaiting() override {}
    bool stopWaiting() const override { return false; }
};

class ShopTerminalTest : public testing::FakePortTest {
protected:
    ShopTerminalTest() {
        openAt({9600, 8, TParity::pNone, 1});
        log.LoggingEnabled = true;
        terminal.Comm.DeviceType = kDeviceShopTerminal;
        terminal.Comm.CharDelay = 15;   // answer time-out
        terminal.Comm.LineDelay = 100;  // lines a page
        MachineSettings mill;
        mill.Format.DownloadFolder = mill.Format.UploadFolder = folder.path();
        mill.Comm.TapeCode = kTapeIso;
        mill.Comm.EofTime = 1;
        host.machines["Mill"] = mill;
    }
    // The operator's answers, each typed when its prompt has arrived.
    void answers(FakeLineSimulator& control,
                 const std::vector<std::pair<std::string, std::string>>& script) {
        for (const auto& [prompt, answer] : script)
            control.onReceived(prompt, [answer](MachineSimulator& m) { m.type(answer); });
    }
    void run() {
        ShopTerminal menu(station, terminal, settings, folder.path(), host);
        clock.callAfter(std::chrono::minutes(10), [this] { host.shutDown = true; });
        menu.run();
    }
    bool screenHas(const std::string& line) const {
        return std::find(sink.lines.begin(), sink.lines.end(), line) != sink.lines.end();
    }

    testing::TempFolder folder;
    FileTransfer transfer{port};
    ActivityLog log{folder.file("ZTRDNC.LOG")};
    testing::RecordingSink sink;
    NoWaiting waiting;
    DncStation station{port, transfer, log, sink, waiting};
    MachineSettings terminal;
    AppSettings settings;
    FakeHost host;
};

TEST_F(ShopTerminalTest, AMachineIsChosenItsFilesListedAndAProgramDownloaded) {
    folder.write("PROG1.TAP", "G1X1\r\n");
    folder.write("BIG.TAP", std::string(20480, 'x'));
    FakeLineSimulator control(device, clock, MachineProfile{});
    answers(control, {{"Cmd ?", "D\r"},
                      {"Cmd ?", "M\r"}, {"Machine?", "mill\r"},
                      {"Cmd ?", "L\r"},
                      {"Cmd ?", "d\r"}, {"File?", "PROG1\r"},
                      {"Cmd ?", "Q\r"}});
    run();
    EXPECT_TRUE(screenHas("Select Machine 1st?"));
    EXPECT_TRUE(screenHas("Mch:mill - Cmd ?"));
    EXPECT_TRUE(screenHas("[" + folder.path() + "*.TAP]"));
    EXPECT_TRUE(screenHas("BIG        20k Chrs"));
    EXPECT_TRUE(screenHas("PROG1       6  Chrs"));
    EXPECT_TRUE(screenHas("Downloading PROG1"));
    EXPECT_TRUE(screenHas("*** SHUTDOWN ***"));
    EXPECT_NE(control.received().find("\r\nTo mill ...G1X1\r\n"), std::string::npos);
    EXPECT_EQ(host.switched, std::vector<std::string>{"mill"});
}

TEST_F(ShopTerminalTest, AnEmptyMachineAnswerListsTheMachinesAndAnUnknownOneIsRefused) {
    FakeLineSimulator control(device, clock, MachineProfile{});
    answers(control, {{"Cmd ?", "M\r"}, {"Machine?", "\r"},
                      {"Cmd ?", "m\r"}, {"Machine?", "Drill\r"},
                      {"Cmd ?", "q\r"}});
    run();
    EXPECT_TRUE(screenHas("Lathe"));
    EXPECT_TRUE(screenHas("Mill"));
    EXPECT_TRUE(screenHas("No Such Machine ?"));
}

TEST_F(ShopTerminalTest, OverwritingWithoutThePrivilegeIsLoggedAndNothingIsReceived) {
    folder.write("OLD.TAP", "keep");
    host.privileged = false;
    FakeLineSimulator control(device, clock, MachineProfile{});
    answers(control, {{"Cmd ?", "M\r"}, {"Machine?", "Mill\r"},
                      {"Cmd ?", "U\r"}, {"File?", "OLD\r"},
                      {"Cmd ?", "Q\r"}});
    run();
    EXPECT_TRUE(screenHas("File Exists !"));
    EXPECT_EQ(folder.read("OLD.TAP"), "keep");
    EXPECT_NE(folder.read("ZTRDNC.LOG").find("Failed Attempt to Overwrite Via Remote"),
              std::string::npos);
}

TEST_F(ShopTerminalTest, NoAnswerTimesOutAndPagesPauseUntilEscEndsAList) {
    terminal.Comm.LineDelay = 4;
    for (int i = 0; i < 9; ++i) folder.write("P" + std::to_string(i) + ".TAP", "x");
    FakeLineSimulator control(device, clock, MachineProfile{});
    answers(control, {{"Cmd ?", "M\r"}, {"Machine?", "Mill\r"},
                      {"Cmd ?", "L\r"}, {"Continue ...", "\x1b"},
                      {"Cmd ?", ""},  // no answer: the menu times out and comes again
                      {"**Timeout**", ""}});
    control.onReceived("Continue ...", [](MachineSimulator& m) { m.type("\r"); });
    clock.callAfter(std::chrono::seconds(100), [this] { host.shutDown = true; });
    run();
    EXPECT_TRUE(screenHas("P0          1  Chrs"));
    EXPECT_FALSE(screenHas("P8          1  Chrs"));  // ESC ended the list
    EXPECT_TRUE(screenHas("**Timeout**"));
}

}  // namespace
}  // namespace zantor
