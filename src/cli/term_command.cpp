#include "cli/term_command.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cmath>
#include <map>
#include <optional>
#include <ostream>

#include "core/ini_store.h"
#include "core/text_util.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/record_line_settings.h"
#include "machines/machine_database.h"
#include "session/run_state.h"

namespace zantor::cli {

namespace {

struct TermOptions {
    std::optional<std::string> machine, port;
    std::optional<int32_t> baud;
    std::optional<uint16_t> bits, stopBits;
    std::optional<TParity> parity;
    std::optional<std::string> flow;
    double waitSeconds = 0;
};

TermOptions parseOptions(const std::vector<std::string>& args) {
    TermOptions o;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) throw CliError{"option " + name + " needs a value"};
        const std::string& value = args[i + 1];
        const auto number = parseInt(value);
        if (name == "--machine") {
            o.machine = value;
        } else if (name == "--port") {
            if (!parsePortChoice(value)) throw CliError{"--port takes a number or a device path"};
            o.port = value;
        } else if (name == "--baud") {
            if (!number || !isSupportedBaud(*number))
                throw CliError{
                    "--baud takes 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                    "57600 or 115200"};
            o.baud = *number;
        } else if (name == "--bits") {
            if (!number || *number < 4 || *number > 8) throw CliError{"--bits takes 4 to 8"};
            o.bits = uint16_t(*number);
        } else if (name == "--parity") {
            static const std::map<std::string, TParity> parities = {{"N", TParity::pNone},
                                                                    {"O", TParity::pOdd},
                                                                    {"E", TParity::pEven},
                                                                    {"M", TParity::pMark},
                                                                    {"S", TParity::pSpace}};
            const auto it = parities.find(toUpperAscii(value));
            if (it == parities.end()) throw CliError{"--parity takes N, O, E, M or S"};
            o.parity = it->second;
        } else if (name == "--stop") {
            if (value != "1" && value != "1.5" && value != "2")
                throw CliError{"--stop takes 1, 1.5 or 2"};
            o.stopBits = value == "1" ? 1 : value == "2" ? 2 : 5;
        } else if (name == "--flow") {
            if (value != "none" && value != "xonxoff" && value != "rtscts" && value != "both")
                throw CliError{"--flow takes none, xonxoff, rtscts or both"};
            o.flow = value;
        } else if (name == "--wait") {
            char* end = nullptr;
            o.waitSeconds = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !std::isfinite(o.waitSeconds) || o.waitSeconds < 0)
                throw CliError{"--wait takes a number of seconds"};
        } else {
            throw CliError{"unknown option '" + name + "'"};
        }
    }
    return o;
}

// The machine whose line settings the terminal starts from: the one named,
// else the current machine of ZTR2013.INI, else the default record.
MachComRec machineRecord(const CliContext& context, const TermOptions& options) {
    const MachineDatabase machines(context.systemFolder + kMachineDatabaseFileName);
    std::string name = options.machine.value_or("");
    if (name.empty())
        name = IniStore::read(context.programFolder + kSettingsFileName)
                   ->readString("GENERAL", "CMACHINE", "");
    if (name.empty()) return DefaultMachComRec();
    if (options.machine) {
        const auto listed = machines.ListMachines();
        if (std::find(listed.begin(), listed.end(), name) == listed.end())
            throw CliError{"no machine named '" + name + "'"};
    }
    MachineSettings settings;
    return machines.ReadMachComRec(name, settings);
}

void configure(ComPort& port, const CliContext& context, const TermOptions& o) {
    const MachComRec record = machineRecord(context, o);
    port.setPortMap(
        PortMap::fromSettings(*IniStore::read(context.programFolder + kSettingsFileName)));
    if (o.port) {
        const PortChoice choice = *parsePortChoice(*o.port);
        if (choice.number)
            port.setComNumber(uint16_t(choice.number));
        else
            port.setDevicePath(choice.path);
    } else if (record.HubNum != 0) {
        throw CliError{"the machine is on DNC hub " + std::to_string(record.HubNum) +
                       ": give the PC port with --port"};
    } else {
        port.setComNumber(uint16_t(record.PortNum + 1));
    }
    applyRecordLineSettings(port, record);
    LineSettings line = port.lineSettings();
    if (o.baud) line.Baud = *o.baud;
    if (o.bits) line.DataBits = *o.bits;
    if (o.parity) line.Parity = *o.parity;
    if (o.stopBits) line.StopBits = *o.stopBits;
    port.setLineSettings(line);
    if (o.flow) {
        const bool software = *o.flow == "xonxoff" || *o.flow == "both";
        const bool hardware = *o.flow == "rtscts" || *o.flow == "both";
        port.setSWFlowOptions(software ? TSWFlowOptions::swfBoth : TSWFlowOptions::swfNone);
        port.setHWFlowOptions(hardware ? HWFlowSet(hwfUseRTS | hwfRequireCTS) : HWFlowSet(0));
    }
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Standard input into the port's output queue, as fast as the queue takes it.
class InputFeeder {
public:
    InputFeeder(ComPort& port) : port_(port), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { feed(); });
    }
    bool finished() const { return finished_; }

private:
    void feed() {
        char buffer[4096];
        const size_t room = std::min(sizeof buffer, port_.outputFree());
        if (room == 0) {
            // The queue is full: look again a tick later instead of spinning.
            notifier_.setEnabled(false);
            port_.clock().callAfter(ticksToDuration(1), [this] { notifier_.setEnabled(true); });
            return;
        }
        const ssize_t n = ::read(STDIN_FILENO, buffer, room);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) {
            finished_ = true;
            notifier_.setEnabled(false);
            return;
        }
        if (port_.sendBlock(reinterpret_cast<const uint8_t*>(buffer), size_t(n)) !=
            SendResult::Sent) {
            finished_ = true;
            notifier_.setEnabled(false);
        }
    }

    ComPort& port_;
    QSocketNotifier notifier_;
    bool finished_ = false;
};

}  // namespace

int runTerm(CliContext& context) {
    const TermOptions options = parseOptions(context.args);
    std::optional<QCoreApplication> application;
    static int argc = 1;
    static char name[] = "zantor-cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) application.emplace(argc, argv);

    SystemClock clock;
    TermiosDeviceProvider devices(clock);
    ComPort port(clock, devices);
    configure(port, context, options);
    if (const auto failure = port.open()) throw CliError{failure->message};

    bool lost = false, outputFailed = false;
    Clock::Duration lastReceived = clock.now();
    QObject::connect(&port, &ComPort::portLost, [&] { lost = true; });
    QObject::connect(&port, &ComPort::dataAvailable, [&] {
        lastReceived = clock.now();
        if (!writeAll(STDOUT_FILENO, port.readAvailable())) outputFailed = true;
    });

    // Standard input is read once each time it is readable, so a read never
    // blocks; it stays blocking, because its open file is often the shell's
    // terminal, shared with whatever runs next.
    InputFeeder feeder(port);
    clock.waitUntil(
        [&] { return lost || outputFailed || (feeder.finished() && port.outputQueued() == 0); },
        Clock::kForever, WaitMode::Responsive);
    const auto quiet = std::chrono::duration_cast<Clock::Duration>(
        std::chrono::duration<double>(options.waitSeconds));
    lastReceived = std::max(lastReceived, clock.now());
    // Quiet for that long; a lost line ends the wait at once.
    while (!lost && !outputFailed) {
        const Clock::Duration left = lastReceived + quiet - clock.now();
        if (left <= Clock::Duration(0)) break;
        clock.waitUntil([&] { return lost || outputFailed; }, left, WaitMode::Responsive);
    }
    if (lost) throw CliError{port.devicePath() + ": the line was lost"};
    if (outputFailed) throw CliError{"cannot write to standard output"};
    return 0;
}

}  // namespace zantor::cli
