#pragma once

// Header only: the DNC terminal window with everything it works with, on a
// pseudo-terminal with the machine simulator at its far end (real time), or
// on the in-memory fake line (simulated time).

#include <memory>

#include "activity_log_lines.h"
#include "core/file_io.h"
#include "core/ini_store.h"
#include "dnc/port/clock.h"
#include "dnc/port/device_provider.h"
#include "dnc/ui/tzdncterm.h"
#include "fake_line_simulator.h"
#include "machines/machine_database.h"
#include "pty_pair.h"
#include "pty_simulator.h"
#include "scripted_interaction.h"
#include "session/run_state.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor::testing {

// The machine "Mill" on COM1 at 9600 baud, 8N1, ISO, a quiet time of one
// second, its folders in the test's folder.
inline MachineSettings millSettings(const TempFolder& folder) {
    MachineSettings s;
    s.Comm.PortNum = 0;
    s.Comm.BaudNum = 6;
    s.Comm.BitsNum = 4;
    s.Comm.ParityNum = 0;
    s.Comm.StopBitsNum = 0;
    s.Comm.TapeCode = kTapeIso;
    s.Comm.EofTime = 1;
    s.Format.UploadFolder = folder.path() + "up";
    s.Format.DownloadFolder = folder.path() + "down";
    return s;
}

enum class Line { Pty, Fake };

class DncWindowRig {
public:
    // `charactersPerSecond` paces the pty's simulator (0: as fast as it goes).
    DncWindowRig(Line line, const MachineSettings& settings, MachineProfile profile = {},
                 int charactersPerSecond = 0) {
        IniStore::clearCache();
        state.ProgramFolder = state.TempDir = state.SystemFolder = folder.path();
        state.SettingsFile = folder.path() + "ZTR2013.INI";
        state.SendFile = folder.write("ZTRA.TMP", "");
        state.WorkFile = folder.write("ZTRB.TMP", "");
        log.LoggingEnabled = true;
        machines.AddMachine("Mill", settings);
        state.CurrentMachine = "Mill";
        state.CurrentMachComRec = machines.ReadMachComRec("Mill", state.CurrentSettings);
        if (line == Line::Pty) {
            auto* system = new SystemClock;
            clock.reset(system);
            devices = std::make_unique<TermiosDeviceProvider>(*clock);
            pty = std::make_unique<PtyPair>();
            folder.write("ZTR2013.INI", "[PORTS]\n1=" + pty->slavePath() + "\n");
            auto* sim = new PtySimulator(pty->masterFd(), profile, charactersPerSecond);
            machine.reset(sim);
            ptyMachine = sim;
        } else {
            manual = new ManualClock;
            clock.reset(manual);
            auto* bank = new FakeDeviceBank(*clock);
            devices.reset(bank);
            fake = &bank->add("/dev/ttyS0");
            machine = std::make_unique<FakeLineSimulator>(*fake, *clock, profile);
        }
        window = std::make_unique<TZDNCTERM>(
            DncWindowEnvironment{state, machines, log, ui, *clock, *devices});
    }
    ~DncWindowRig() {
        window.reset();
        if (ptyMachine) ptyMachine->stop();
    }

    // The log lines without their date and time.
    std::vector<std::string> logLines() const {
        return testing::activityLogLines(folder.path() + "ZTRDNC.LOG");
    }

    TempFolder folder;
    RunState state;
    MachineDatabase machines{folder.path() + "WPOSTS.INI"};
    ActivityLog log{folder.path() + "ZTRDNC.LOG"};
    ScriptedInteraction ui;
    std::unique_ptr<Clock> clock;
    ManualClock* manual = nullptr;
    std::unique_ptr<DeviceProvider> devices;
    FakeSerialDevice* fake = nullptr;
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<MachineSimulator> machine;
    PtySimulator* ptyMachine = nullptr;
    std::unique_ptr<TZDNCTERM> window;
};

}  // namespace zantor::testing
