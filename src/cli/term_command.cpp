#include <unistd.h>

#include <CLI/CLI.hpp>
#include <QSocketNotifier>
#include <cerrno>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/command_set.h"
#include "cli/event_loop.h"
#include "cli/port_options.h"
#include "core/text_util.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"

namespace zantor::cli {

namespace {

// The options as typed; checked into TermOptions once the line is read.
struct TermArguments {
    std::optional<std::string> machine, port, baud, bits, parity, stop, flow, wait;
};

struct TermOptions {
    std::optional<std::string> machine, port;
    std::optional<int32_t> baud;
    std::optional<uint16_t> bits, stopBits;
    std::optional<TParity> parity;
    std::optional<std::string> flow;
    double waitSeconds = 0;
};

TermOptions checkOptions(const TermArguments& a) {
    TermOptions o;
    o.machine = a.machine;
    checkPortOption(a.port);
    o.port = a.port;
    if (a.baud) {
        const auto number = parseInt(*a.baud);
        if (!number || !isSupportedBaud(*number))
            throw CliError{
                "--baud takes 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                "57600, 115200, 230400, 460800 or 921600"};
        o.baud = *number;
    }
    if (a.bits) {
        const auto number = parseInt(*a.bits);
        if (!number || *number < 4 || *number > 8) throw CliError{"--bits takes 4 to 8"};
        o.bits = uint16_t(*number);
    }
    if (a.parity) {
        static const std::map<std::string, TParity> parities = {{"N", TParity::pNone},
                                                                {"O", TParity::pOdd},
                                                                {"E", TParity::pEven},
                                                                {"M", TParity::pMark},
                                                                {"S", TParity::pSpace}};
        const auto it = parities.find(toUpperAscii(*a.parity));
        if (it == parities.end()) throw CliError{"--parity takes N, O, E, M or S"};
        o.parity = it->second;
    }
    if (a.stop) {
        const std::string& value = *a.stop;
        if (value != "1" && value != "1.5" && value != "2")
            throw CliError{"--stop takes 1, 1.5 or 2"};
        o.stopBits = value == "1" ? 1 : value == "2" ? 2 : 5;
    }
    if (a.flow) {
        const std::string& value = *a.flow;
        if (value != "none" && value != "xonxoff" && value != "rtscts" && value != "both")
            throw CliError{"--flow takes none, xonxoff, rtscts or both"};
        o.flow = value;
    }
    if (a.wait) {
        const std::string& value = *a.wait;
        char* end = nullptr;
        o.waitSeconds = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !std::isfinite(o.waitSeconds) || o.waitSeconds < 0)
            throw CliError{"--wait takes a number of seconds"};
    }
    return o;
}

void configure(ComPort& port, const CliContext& context, const TermOptions& o) {
    std::string name;
    const MachComRec record = loadMachine(context, o.machine, name).Comm;
    choosePort(port, context, record, o.port);
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

int runTerm(CliContext& context, const TermOptions& options) {
    ensureEventLoop();

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

}  // namespace

void addTermCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<TermArguments>();
    CLI::App* term = commands.add(
        app, "term",
        "A plain terminal on a serial port with the machine's line settings (the options "
        "override them): standard input goes to the port under its flow control, what arrives "
        "goes to standard output unchanged. At the end of the input it waits for the output to "
        "drain and, with --wait, for the line to be quiet that long.",
        [a](CliContext& context) { return runTerm(context, checkOptions(*a)); });
    term->add_option("--machine", a->machine, "The machine (default: the current one)");
    term->add_option("--port", a->port, "Port number or device path (default: the machine's)");
    term->add_option("--baud", a->baud, "110 to 921600");
    term->add_option("--bits", a->bits, "Data bits, 4 to 8");
    term->add_option("--parity", a->parity, "N, O, E, M or S");
    term->add_option("--stop", a->stop, "Stop bits: 1, 1.5 or 2");
    term->add_option("--flow", a->flow, "none, xonxoff, rtscts or both");
    term->add_option("--wait", a->wait, "Seconds of quiet to wait for at the end");
}

}  // namespace zantor::cli
