#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <memory>
#include <ostream>
#include <thread>

#include "cli/command_set.h"
#include "cli/event_loop.h"
#include "cli/port_options.h"
#include "core/file_io.h"
#include "dnc/simulator/protocol_simulator.h"
#include "dnc/simulator/pty_pair.h"
#include "dnc/simulator/pty_simulator.h"
#include "dnc/simulator/received_programs.h"

namespace zantor::cli {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using SteadyClock = std::chrono::steady_clock;

struct SimulateArguments {
    std::optional<std::string> machine;
    std::string folder = ".";
    size_t buffer = 0;
    double blocksPerSecond = 20;
    int rate = 0;
    std::optional<std::string> punch;
    std::optional<double> punchAfter;
};

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) {
    interrupted = 1;
}

// Ctrl-C and SIGTERM end the simulation; the handlers before come back after.
class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptCatcher() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    struct sigaction oldInt_ {}, oldTerm_ {};
};

bool onlyXons(std::string_view bytes) {
    return !bytes.empty() && bytes.find_first_not_of('\x11') == std::string_view::npos;
}

const char* protocolName(int protocol) {
    static const char* const kNames[] = {"ASCII", "XMODEM", "YMODEM", "ZMODEM", "Kermit"};
    return protocol >= 0 && protocol < 5 ? kNames[protocol] : "ASCII";
}

// A machine set for one of the published protocols answers by it: sends
// to it are filed, its punch goes out by the protocol.
int simulateWithProtocol(CliContext& context, const SimulateArguments& a,
                         const MachComRec& record, const std::string& name, int rate) {
    ensureEventLoop();
    sim::PtyPair line;
    sim::ProtocolSimulator control(line.masterFd(), record, rate, a.folder);
    const InterruptCatcher catcher;
    std::ostream& out = context.out;
    out << line.slavePath() << "\n"
        << "Simulating " << (name.empty() ? std::string("the default machine") : name) << " by "
        << protocolName(record.Protocol) << " at " << rate
        << " characters a second; Ctrl-C ends.\n"
        << std::flush;
    if (a.punch) control.awaitPunch();
    const auto started = SteadyClock::now();
    bool punchOffered = false;
    while (!interrupted) {
        if (a.punch && !punchOffered &&
            SteadyClock::now() - started >= std::chrono::duration<double>(a.punchAfter.value_or(0))) {
            punchOffered = true;
            control.punch(*a.punch);
            out << "Punching " << *a.punch << " (" << protocolName(record.Protocol) << ")\n"
                << std::flush;
        }
        for (const std::string& news : control.run(milliseconds(20))) out << news << "\n";
        out << std::flush;
    }
    control.stop();
    out << "Simulation ended: " << control.bytesReceived() << " bytes received, "
        << control.bytesSent() << " sent\n";
    return 0;
}

int runSimulate(CliContext& context, const SimulateArguments& a) {
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    const MachComRec& record = machine.Comm;
    std::error_code error;
    if (!std::filesystem::is_directory(a.folder, error)) throw CliError{"no folder " + a.folder};
    std::string punchText;
    if (a.punch) {
        try {
            punchText = readFileBytes(*a.punch);
        } catch (const FileError& failure) {
            throw CliError{failure.what()};
        }
    }
    sim::MachineProfile profile;
    profile.code = tapeCodeOf(record.TapeCode);
    profile.bufferSize = a.buffer;
    profile.blocksPerSecond = a.buffer > 0 ? a.blocksPerSecond : 0;
    // A line of the machine's speed carries a tenth of its baud rate in characters.
    int rate = a.rate;
    if (rate == 0 && record.BaudNum >= 0 && size_t(record.BaudNum) < kBaudRates.size())
        rate = std::stoi(std::string(kBaudRates[size_t(record.BaudNum)])) / 10;

    if (record.Protocol >= 1 && record.Protocol <= 4)
        return simulateWithProtocol(context, a, record, name, rate);

    sim::PtyPair line;
    sim::PtySimulator control(line.masterFd(), profile, rate);
    const InterruptCatcher catcher;
    std::ostream& out = context.out;
    out << line.slavePath() << "\n"
        << "Simulating " << (name.empty() ? std::string("the default machine") : name) << " at "
        << rate << " characters a second; Ctrl-C ends.\n"
        << std::flush;

    const auto quiet = seconds(record.EofTime > 0 ? record.EofTime : 2);
    sim::ReceivedPrograms programs(a.folder, profile.code, quiet);
    const auto started = SteadyClock::now();
    bool punchedOnTime = false;
    size_t xonSeenAt = 0;  // the received count when a lone XON was first seen
    auto startPunch = [&](const char* why) {
        control.punch(punchText);
        out << "Punching " << *a.punch << " (" << why << ")\n" << std::flush;
    };
    while (!interrupted) {
        std::this_thread::sleep_for(milliseconds(20));
        const std::string received = control.received();
        const auto now = SteadyClock::now();
        if (a.punch && control.outputDone()) {
            // The far side's XON asks for the tape once it stands alone on a
            // quiet line (under EIA the same byte is a "1" of a program).
            const std::string_view fresh = std::string_view(received).substr(programs.filed());
            if (onlyXons(fresh) && xonSeenAt == received.size()) {
                programs.skipTo(received.size());
                startPunch("XON");
            }
            xonSeenAt = onlyXons(fresh) ? received.size() : 0;
            if (a.punchAfter && !punchedOnTime &&
                now - started >= std::chrono::duration<double>(*a.punchAfter)) {
                punchedOnTime = true;
                startPunch("time");
            }
        }
        try {
            if (const auto saved = programs.update(received, now))
                out << "Received " << *saved << "\n" << std::flush;
        } catch (const FileError& failure) {
            context.err << "The program could not be saved: " << failure.what() << "\n";
        }
    }
    control.stop();
    out << "Simulation ended: " << control.receivedCount() << " bytes received, "
        << control.sentCount() << " sent\n";
    return 0;
}

}  // namespace

void addSimulateCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<SimulateArguments>();
    CLI::App* simulate = commands.add(
        app, "simulate",
        "Behave like a machine's control on a new pseudo-terminal, to try the station without a "
        "machine: prints the device path first (map a port to it in section PORTS), reads "
        "programs in the machine's tape code, throttles with XON/XOFF when --buffer is given, "
        "saves each program it receives as SIMnnnn.TAP once the line has been quiet for the "
        "machine's end-of-file time, and punches --punch FILE when the far side sends XON or "
        "after --punch-after seconds. A machine set for XMODEM, YMODEM, ZMODEM or Kermit answers "
        "by its protocol: what is sent to it is saved as SIMnnnn.TAP, and --punch FILE is "
        "offered by the protocol (from --punch-after seconds on) until a receive takes it. Runs "
        "until Ctrl-C.",
        [a](CliContext& context) { return runSimulate(context, *a); });
    simulate->add_option("--machine", a->machine, "The machine (default: the current one)");
    simulate->add_option("--dir", a->folder, "Where received programs go (default: here)");
    simulate->add_option("--buffer", a->buffer,
                         "The control's receive buffer in bytes (default 0: no buffer, no XOFF)");
    simulate->add_option("--blocks-per-second", a->blocksPerSecond,
                         "How fast the control works through its buffer (20)")
        ->check(CLI::PositiveNumber);
    simulate->add_option("--rate", a->rate,
                         "Characters a second on the line (default: the machine's baud / 10)")
        ->check(CLI::NonNegativeNumber);
    simulate->add_option("--punch", a->punch, "A program to punch out in the machine's tape code");
    simulate->add_option("--punch-after", a->punchAfter,
                         "Punch this many seconds after the start (a pty carries no DTR)")
        ->check(CLI::NonNegativeNumber);
}

}  // namespace zantor::cli
