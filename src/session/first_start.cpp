#include "session/first_start.h"

#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "machines/machine_database.h"
#include "machines/machine_settings.h"
#include "session/run_state.h"

namespace zantor {

namespace fs = std::filesystem;

namespace {

constexpr int kBaud4800 = 5, kBaud9600 = 6;
constexpr int kBits8 = 4;
constexpr int kParityNone = 0, kOneStopBit = 0;

MachineSettings exampleMill() {
    MachineSettings m;
    m.Format.MachType = kMill;
    m.Format.Description = "Example: a mill on port 1, ISO code, 9600 8N1, XON/XOFF";
    m.Comm.PortNum = 0;
    m.Comm.BaudNum = kBaud9600;
    m.Comm.BitsNum = kBits8;
    m.Comm.ParityNum = kParityNone;
    m.Comm.StopBitsNum = kOneStopBit;
    m.Comm.XonXoff = kXonXoffSendRecv;
    m.Comm.TapeCode = kTapeIso;
    return m;
}

MachineSettings exampleLathe() {
    MachineSettings m;
    m.Format.MachType = kLathe;
    m.Format.Description = "Example: a lathe on port 3 of DNC hub 1, EIA code, 4800 8N1, leader";
    m.Comm.HubNum = 1;
    m.Comm.PortNum = 2;
    m.Comm.BaudNum = kBaud4800;
    m.Comm.BitsNum = kBits8;
    m.Comm.ParityNum = kParityNone;
    m.Comm.StopBitsNum = kOneStopBit;
    m.Comm.XonXoff = kXonXoffSendRecv;
    m.Comm.TapeCode = kTapeEia;
    m.Comm.LeaderLen = 2;
    return m;
}

// The hub's own line: the PC port it is wired to (port 2) and its speed.
MachineSettings exampleHub() {
    MachineSettings m = exampleMill();
    m.Format.Description = "Example DNC hub on port 2";
    m.Comm.PortNum = 1;
    return m;
}

}  // namespace

bool isFirstStart(const std::string& programFolder, const std::string& systemFolder) {
    std::error_code error;
    return !fs::exists(withTrailingSeparator(programFolder) + kSettingsFileName, error) &&
           !fs::exists(withTrailingSeparator(systemFolder) + kMachineDatabaseFileName, error);
}

ExampleSetup installExamples(const MachineDatabase& machines, const std::string& examplesFolder) {
    ExampleSetup setup;
    machines.SaveMachine("HUB1", exampleHub());
    machines.AddMachine(kExampleMill, exampleMill());
    machines.AddMachine(kExampleLathe, exampleLathe());
    setup.machines = {kExampleMill, kExampleLathe};

    setup.programFolder = withTrailingSeparator(folderTextToPath(exampleMill().Format.DownloadFolder));
    if (!makeFolders(setup.programFolder)) return setup;
    std::error_code error;
    for (fs::directory_iterator it(examplesFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        const fs::path target = setup.programFolder + it->path().filename().string();
        if (fs::exists(target, error)) continue;  // a program of the shop's own stays
        std::error_code copyError;
        if (fs::copy_file(it->path(), target, copyError))
            setup.programs.push_back(it->path().filename().string());
    }
    return setup;
}

}  // namespace zantor
