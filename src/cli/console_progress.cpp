#include "cli/console_progress.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace zantor::cli {

namespace {
constexpr int kBarWidth = 20;
}

std::string ConsoleProgress::line(const TransferProgress& p) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f kB/s", p.throughput() / 1000);
    const std::string bytes = std::to_string(p.bytesTransferred);
    if (p.fileSize < 0) return (p.receiving ? "receiving " : "") + bytes + " bytes  " + rate;
    const int filled = int(p.fraction() * kBarWidth + 0.5);
    std::string text = "[" + std::string(size_t(filled), '#') +
                       std::string(size_t(kBarWidth - filled), '.') + "] " + bytes + "/" +
                       std::to_string(p.fileSize) + " bytes  " + rate;
    if (const double left = p.secondsLeft(); left >= 0) text += "  " + minutesSeconds(left) + " left";
    return text;
}

void ConsoleProgress::transferStarted(FileTransfer&, const TransferProgress& progress) {
    shown_ = 0;
    updateProgress(progress);
}

void ConsoleProgress::updateProgress(const TransferProgress& progress) {
    const std::string text = line(progress);
    // Blanks wipe what is left of a longer line before.
    out_ << '\r' << text << std::string(shown_ > text.size() ? shown_ - text.size() : 0, ' ')
         << std::flush;
    shown_ = text.size();
}

void ConsoleProgress::transferEnded(const TransferProgress& progress, int) {
    updateProgress(progress);
    out_ << '\n' << std::flush;
}

}  // namespace zantor::cli
