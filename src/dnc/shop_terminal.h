#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dnc/port/data_packet.h"
#include "dnc/port/packet_manager.h"
#include "machines/machine_settings.h"
#include "session/run_state.h"

namespace zantor {

struct DncStation;

// What the shop-terminal menu needs of the window (or the command line) it runs in.
class ShopTerminalHost {
public:
    virtual ~ShopTerminalHost() = default;
    // The machine database's names.
    virtual std::vector<std::string> machineNames() = 0;
    // A machine's settings, without touching the port; none when it is not listed.
    virtual std::optional<MachineSettings> machineSettings(const std::string& name) = 0;
    // Makes the machine current and opens its port (through its hub).
    virtual bool switchTo(const std::string& name) = 0;
    // The terminal's own machine current again, its port reopened.
    virtual void backToHome() = 0;
    virtual bool hasPrivilege(int privilege) = 0;
    // A message posted from the terminal: the message list and a beep.
    virtual void operatorMessage(const std::string& text) = 0;
    // "Start Shut Down": ticked by "&Done" at the PC or by Q at the terminal.
    virtual bool shutDownTicked() = 0;
    virtual void tickShutDown() = 0;
};

// The menu a plain serial terminal on the shop floor is served (device
// types 1 and 2): select a machine, list its files, download or upload a
// program (switching the hub to that machine for the transfer and back),
// post a message to the PC.
class ShopTerminal {
public:
    ShopTerminal(DncStation& station, const MachineSettings& terminal, const AppSettings& settings,
                 std::string tempFolder, ShopTerminalHost& host);
    ~ShopTerminal();
    ShopTerminal(const ShopTerminal&) = delete;
    ShopTerminal& operator=(const ShopTerminal&) = delete;

    // The menu loop, until "Start Shut Down" is ticked.
    void run();

private:
    void termLine(const std::string& text);
    void termError(const std::string& text);
    void termClear();
    void pausePage();
    // The answer typed (possibly empty); none after a time-out.
    std::optional<std::string> termAsk(const std::string& prompt);
    void send(const std::string& text);

    void download();
    void upload();
    void listFiles();
    void chooseMachine();
    void postMessage();
    void takeLineBytes();
    bool waitForTransfer();

    DncStation& station_;
    const MachineSettings& terminal_;
    const AppSettings& settings_;
    std::string tempFolder_;
    ShopTerminalHost& host_;

    PacketManager packets_;
    std::unique_ptr<DataPacket> line_;
    std::vector<std::string> machines_;
    std::string SelectedMachine = "NONE";
    int LinesPerPage = 4;
    int AnswerTimeout = 15;
    int PageLineCount = 0;
    bool ContinueListing = true;
    std::string lastLine_;
    bool answered_ = false, timedOut_ = false;
    bool listening_ = false;  // the menu reads answers from the port
};

}  // namespace zantor
