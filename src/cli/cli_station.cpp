#include "cli/cli_station.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <ostream>

#include "cli/console_interaction.h"
#include "cli/console_progress.h"
#include "cli/event_loop.h"
#include "cli/port_options.h"
#include "core/ticks.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port/status_lights.h"
#include "dnc/port_status_sink.h"
#include "core/text_util.h"
#include "machines/machine_database.h"
#include "users/activity_log.h"

namespace zantor::cli {

namespace {

// The write end of the pipe that turns Ctrl-C into an event.
int interruptFd = -1;

void signalInterrupt(int) {
    const char c = 'i';
    [[maybe_unused]] const ssize_t n = ::write(interruptFd, &c, 1);
}

// The terminal screen of the window is stderr here, unless a command
// shows its lines elsewhere.
class ConsoleSink : public PortStatusSink {
public:
    explicit ConsoleSink(std::ostream& err)
        : write([&err](const std::string& text) { err << text << "\n"; }) {}
    void setStatusText(const std::string&) override {}
    void setPortStatus(const std::string&) override {}
    void writeTerminalLine(const std::string& text) override { write(text); }
    void setPortInput(bool) override {}
    void setAnsiEmulation(bool) override {}
    void focusTerminal() override {}

    std::function<void(const std::string&)> write;
};

// The waiting window as a line on stderr; Ctrl-C ticks "Stop Waiting".
class ConsoleWaiting : public WaitingWindow {
public:
    explicit ConsoleWaiting(std::ostream& err) : err_(err) {}
    void showWaiting(const std::string& text) override {
        err_ << text << " (Ctrl-C stops waiting)\n" << std::flush;
    }
    void hideWaiting() override {}
    bool stopWaiting() const override { return stop; }
    bool stop = false;

private:
    std::ostream& err_;
};

// The errors of the hub selection, said once as the command's own error.
class CollectingInteraction : public ConsoleInteraction {
public:
    using ConsoleInteraction::ConsoleInteraction;
    Answer message(MessageKind, const std::string& text, Buttons buttons) override {
        last = text;
        for (char& c : last)
            if (c == '\r' || c == '\n') c = ' ';
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    std::string last;
};

// The Qt application, before anything of the port exists.
struct EventLoop {
    EventLoop() { ensureEventLoop(); }
};

}  // namespace

class CliStation::Parts {
public:
    Parts(CliContext& context, const std::optional<std::string>& machineOption,
          const std::optional<std::string>& portOption)
        : eventLoop(),
          loaded(loadSettings(context)),
          machineSettings(loadMachine(context, machineOption, name)),
          machines(context.systemFolder + kMachineDatabaseFileName),
          log(context.programFolder + kActivityLogFileName),
          sink(context.err),
          waiting(context.err),
          hubErrors(context.err),
          progress(context.err),
          devices(clock),
          port(clock, devices),
          lights(port),
          transfer(port),
          station{port, transfer, log, sink, waiting},
          context(context),
          portOption(portOption) {
        log.LoggingEnabled = loaded.logging;
        transfer.ProtocolLog.HistoryName = context.programFolder + kHistoryFileName;
        if (::isatty(STDERR_FILENO)) transfer.StatusDisplay = &progress;
        RunState& state = loaded.state;
        state.CurrentMachine = name;
        state.CurrentMachComRec = machineSettings.Comm;
        state.CurrentSettings = machineSettings;
        if (machineSettings.Comm.DeviceType == kDeviceDirectTransfer)
            throw CliError{"the machine is set up for direct file transfer, which uses no port"};
        openPort(context, portOption);
        catchInterrupts();
    }

    ~Parts() {
        if (interruptFd >= 0) {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
        }
        interruptFd = -1;
        notifier.reset();
        for (const int fd : interruptPipe)
            if (fd >= 0) ::close(fd);
    }

    void openPort(CliContext& context, const std::optional<std::string>& portOption) {
        MachinePortControl control(port, lights, hubErrors, sink, loaded.state, machines);
        control.applyBufferSizes();
        const MachComRec& record = machineSettings.Comm;
        if (record.HubNum != 0 && !portOption) {
            control.loadPortMap();
            control.loadHubTable();
            if (!control.openMachinePort(record))
                throw CliError{hubErrors.last.empty() ? "the port could not be opened"
                                                      : hubErrors.last};
            return;
        }
        choosePort(port, context, record, portOption);
        if (const auto failure = port.open()) throw CliError{failure->message};
    }

    bool openFor(const MachComRec& record) {
        MachinePortControl control(port, lights, hubErrors, sink, loaded.state, machines);
        control.loadPortMap();
        control.loadHubTable();
        hubErrors.last.clear();
        if (control.openMachinePort(record)) return true;
        sink.writeTerminalLine(hubErrors.last.empty() ? "the port could not be opened"
                                                      : hubErrors.last);
        return false;
    }

    void catchInterrupts() {
        if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        interruptFd = interruptPipe[1];
        std::signal(SIGINT, signalInterrupt);
        std::signal(SIGTERM, signalInterrupt);  // a service manager stops us so
        notifier = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            char drained[16];
            while (::read(interruptPipe[0], drained, sizeof drained) > 0) {
            }
            waiting.stop = true;
            if (transfer.inProgress()) transfer.cancel();
            if (interrupted) interrupted();
        });
    }

    EventLoop eventLoop;
    std::string name;
    LoadedSettings loaded;
    MachineSettings machineSettings;
    MachineDatabase machines;
    ActivityLog log;
    ConsoleSink sink;
    ConsoleWaiting waiting;
    CollectingInteraction hubErrors;
    ConsoleProgress progress;
    SystemClock clock;
    TermiosDeviceProvider devices;
    ComPort port;
    StatusLights lights;
    FileTransfer transfer;
    DncStation station;
    int interruptPipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> interrupted;
    CliContext& context;
    std::optional<std::string> portOption;
};

CliStation::CliStation(CliContext& context, const std::optional<std::string>& machine,
                       const std::optional<std::string>& port)
    : parts_(std::make_unique<Parts>(context, machine, port)) {}

CliStation::~CliStation() = default;

const std::string& CliStation::machineName() const {
    return parts_->name;
}

const MachineSettings& CliStation::machine() const {
    return parts_->machineSettings;
}

const RunState& CliStation::state() const {
    return parts_->loaded.state;
}

DncStation& CliStation::station() {
    return parts_->station;
}

int CliStation::waitForEnd() {
    FileTransfer& transfer = parts_->transfer;
    parts_->clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                            WaitMode::Responsive);
    return transfer.lastCode();
}

void CliStation::onInterrupt(std::function<void()> action) {
    parts_->interrupted = std::move(action);
}

void CliStation::showTerminalLines(std::function<void(const std::string&)> write) {
    parts_->sink.write = std::move(write);
}

void CliStation::reopenPort() {
    parts_->port.close();
    if (const auto failure = parts_->port.open()) throw CliError{failure->message};
}

std::vector<std::string> CliStation::machineNames() const {
    return parts_->machines.ListMachines();
}

std::optional<MachineSettings> CliStation::machineSettings(const std::string& name) const {
    for (const std::string& listed : parts_->machines.ListMachines()) {
        if (!equalsIgnoreCase(listed, name)) continue;
        MachineSettings settings;
        FolderFlags flags;
        parts_->machines.LoadMachine(listed, settings, flags);
        return settings;
    }
    return std::nullopt;
}

bool CliStation::switchTo(const std::string& name) {
    const std::optional<MachineSettings> settings = machineSettings(name);
    return settings && parts_->openFor(settings->Comm);
}

bool CliStation::backToHome() {
    Parts& p = *parts_;
    if (!p.portOption) return p.openFor(p.machineSettings.Comm);
    // The terminal's port was given on the command line: open that one again.
    p.port.close();
    choosePort(p.port, p.context, p.machineSettings.Comm, p.portOption);
    return !p.port.open().has_value();
}

void CliStation::drain() {
    ComPort& port = parts_->port;
    const auto limit = ticksToDuration(SecsToTicks(std::max(machine().Comm.XoffTime, 1) * 60));
    parts_->clock.waitUntil([&] { return !port.Open() || port.outputQueued() == 0; }, limit,
                            WaitMode::Responsive);
}

}  // namespace zantor::cli
