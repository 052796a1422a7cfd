#include "dnc/port/termios_device.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "dnc/port/open_failure.h"

namespace zantor {

namespace {

// Unix98 pseudo-terminals: the driver queues nothing of its own and
// has no modem lines.
bool isPseudoTerminal(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    const unsigned major = ::major(st.st_rdev);
    // The master side (/dev/ptmx) queues nothing either.
    if (major == 5 && ::minor(st.st_rdev) == 2) return true;
    return major >= 136 && major <= 143;
}

std::optional<speed_t> speedFor(int32_t baud) {
    switch (baud) {
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return std::nullopt;
    }
}

tcflag_t sizeFlag(int dataBits) {
    switch (dataBits) {
        case 6:
            return CS6;
        case 7:
            return CS7;
        case 8:
            return CS8;
        default:
            return CS5;  // 4 data bits do not exist on a UART; 5 is closest
    }
}

bool configure(int fd, const LineSettings& settings) {
    const auto speed = speedFor(settings.Baud);
    if (!speed) return false;
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK | ISTRIP | PARMRK);
    tio.c_iflag |= IGNBRK;  // breaks are counted by the driver, not passed as bytes
    tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | HUPCL | sizeFlag(settings.DataBits);
    switch (settings.Parity) {
        case TParity::pNone:
            break;
        case TParity::pOdd:
            tio.c_cflag |= PARENB | PARODD;
            break;
        case TParity::pEven:
            tio.c_cflag |= PARENB;
            break;
        case TParity::pMark:
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case TParity::pSpace:
            tio.c_cflag |= PARENB | CMSPAR;
            break;
    }
    // With 5 data bits CSTOPB gives 1.5 stop bits, which the line always uses then.
    if (stopHalfBits(settings) > 2) tio.c_cflag |= CSTOPB;
    // VMIN 1: a non-blocking read with nothing waiting fails with EAGAIN, so
    // a read of 0 bytes means the line hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
    if (::tcsetattr(fd, TCSANOW, &tio) == 0) return true;
    // A pseudo-terminal always carries 8 bits without parity, and the C
    // library reports that as a failure (though not every time). It is a
    // line without framing: anything else it took is what counts.
    if (errno != EINVAL || !isPseudoTerminal(fd)) return false;
    termios now{};
    return ::tcgetattr(fd, &now) == 0 && ::cfgetospeed(&now) == *speed;
}

void setModemBit(int fd, int bit, bool on) {
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bit);
}

}  // namespace

TermiosDevice::TermiosDevice(Clock& clock) : clock_(clock) {}

TermiosDevice::~TermiosDevice() {
    close();
}

std::optional<OpenFailure> TermiosDevice::open(const std::string& path,
                                               const LineSettings& settings) {
    close();
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return describeOpenFailure(path, errno);
    if (!::isatty(fd.get())) return describeOpenFailure(path, ENOTTY);
    // Two programs on one line garble each other's bytes: refuse a port that
    // another station holds.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return describeOpenFailure(path, EBUSY);
    errno = 0;
    if (!configure(fd.get(), settings)) return describeOpenFailure(path, errno ? errno : EINVAL);
    // Claimed only once the open cannot fail any more: close() gives the claim up.
    if (::ioctl(fd.get(), TIOCEXCL) != 0) return describeOpenFailure(path, EBUSY);
    ::tcflush(fd.get(), TCIOFLUSH);
    adopt(std::move(fd));
    return std::nullopt;
}

void TermiosDevice::adopt(UniqueFd fd) {
    close();
    fd_ = std::move(fd);
    lost_ = false;
    trueOutputCount_ = !isPseudoTerminal(fd_.get());
    int bits = 0;
    hasModemLines_ = ::ioctl(fd_.get(), TIOCMGET, &bits) == 0;
    setDtr(true);
    setRts(true);
    lines_ = modemLines();
    const auto counters = readCounters();
    baseCounters_ = counters.value_or(LineErrorCounts{});
    errors_ = {};

    readNotifier_ = std::make_unique<QSocketNotifier>(fd_.get(), QSocketNotifier::Read);
    connect(readNotifier_.get(), &QSocketNotifier::activated, this, [this] {
        // Level-triggered: quiet until the port has read, so a full input
        // queue never spins the event loop.
        readNotifier_->setEnabled(false);
        emit readyRead();
    });
    writeNotifier_ = std::make_unique<QSocketNotifier>(fd_.get(), QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_.get(), &QSocketNotifier::activated, this, [this] {
        writeNotifier_->setEnabled(false);
        emit readyWrite();
    });
    // Modem lines and error counters have no notification of their own.
    if (hasModemLines_ || counters) schedulePoll();
}

void TermiosDevice::close() {
    if (pollTimer_) clock_.cancel(*pollTimer_);
    pollTimer_.reset();
    readNotifier_.reset();
    writeNotifier_.reset();
    if (fd_.valid() && !lost_) {
        setDtr(false);
        setRts(false);
    }
    // The claim outlives the descriptor while anyone else holds the tty (a
    // virtual port's other end): without this the port could not be opened
    // again, not even by us for the next hub switch.
    if (fd_.valid()) ::ioctl(fd_.get(), TIOCNXCL);
    fd_.reset();
}

bool TermiosDevice::applySettings(const LineSettings& settings) {
    return fd_.valid() && !lost_ && configure(fd_.get(), settings);
}

void TermiosDevice::markLost() {
    if (lost_) return;
    lost_ = true;
    if (readNotifier_) readNotifier_->setEnabled(false);
    if (writeNotifier_) writeNotifier_->setEnabled(false);
    emit deviceLost();
}

ptrdiff_t TermiosDevice::read(uint8_t* buffer, size_t capacity) {
    if (!fd_.valid() || lost_) return -1;
    const ssize_t n = ::read(fd_.get(), buffer, capacity);
    if (n > 0 || (n < 0 && (errno == EAGAIN || errno == EINTR))) {
        readNotifier_->setEnabled(true);
        return n > 0 ? n : 0;
    }
    // End of file or EIO: the other end hung up or the adapter is gone.
    markLost();
    return -1;
}

ptrdiff_t TermiosDevice::write(const uint8_t* bytes, size_t count) {
    if (!fd_.valid() || lost_) return -1;
    if (count == 0) return 0;
    const ssize_t n = ::write(fd_.get(), bytes, count);
    if (n >= 0) return n;
    if (errno == EAGAIN || errno == EINTR) {
        writeNotifier_->setEnabled(true);
        return 0;
    }
    markLost();
    return -1;
}

std::optional<size_t> TermiosDevice::outputQueued() const {
    if (!trueOutputCount_ || !fd_.valid()) return std::nullopt;
    int queued = 0;
    if (::ioctl(fd_.get(), TIOCOUTQ, &queued) != 0) return std::nullopt;
    return size_t(std::max(queued, 0));
}

void TermiosDevice::discardOutput() {
    if (fd_.valid() && !lost_) ::tcflush(fd_.get(), TCOFLUSH);
}

void TermiosDevice::setDtr(bool on) {
    if (fd_.valid()) setModemBit(fd_.get(), TIOCM_DTR, on);
}

void TermiosDevice::setRts(bool on) {
    if (fd_.valid()) setModemBit(fd_.get(), TIOCM_RTS, on);
}

void TermiosDevice::setBreak(bool on) {
    if (fd_.valid()) ::ioctl(fd_.get(), on ? TIOCSBRK : TIOCCBRK);
}

ModemLines TermiosDevice::modemLines() {
    // A line without modem lines (a pseudo-terminal, a three-wire adapter)
    // reads as all asserted, so that hardware handshake never holds it for ever.
    if (!hasModemLines_ || !fd_.valid()) return ModemLines{true, true, true, false};
    int bits = 0;
    if (::ioctl(fd_.get(), TIOCMGET, &bits) != 0) return lines_;
    return ModemLines{(bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_CD) != 0,
                      (bits & TIOCM_RI) != 0};
}

std::optional<LineErrorCounts> TermiosDevice::readCounters() const {
    serial_icounter_struct counters{};
    if (!fd_.valid() || ::ioctl(fd_.get(), TIOCGICOUNT, &counters) != 0) return std::nullopt;
    return LineErrorCounts{uint32_t(counters.overrun + counters.buf_overrun),
                           uint32_t(counters.parity), uint32_t(counters.frame),
                           uint32_t(counters.brk)};
}

void TermiosDevice::schedulePoll() {
    pollTimer_ = clock_.callAfter(ticksToDuration(1), [this] {
        pollTimer_.reset();
        poll();
    });
}

void TermiosDevice::poll() {
    if (!fd_.valid() || lost_) return;
    if (hasModemLines_) {
        const ModemLines now = modemLines();
        if (!(now == lines_)) {
            lines_ = now;
            emit modemLinesChanged();
        }
    }
    if (const auto counters = readCounters()) {
        const LineErrorCounts since{
            counters->overrun - baseCounters_.overrun, counters->parity - baseCounters_.parity,
            counters->framing - baseCounters_.framing, counters->breaks - baseCounters_.breaks};
        if (!(since == errors_)) {
            errors_ = since;
            emit lineErrorsChanged();
        }
    }
    if (fd_.valid() && !lost_) schedulePoll();
}

}  // namespace zantor
