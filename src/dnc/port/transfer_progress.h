#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "dnc/port/transfer_settings.h"

namespace zantor {

class FileTransfer;

// Where a transfer stands, as the progress window and the command line's bar
// show it.
struct TransferProgress {
    TProtocolType protocol = ptAscii;
    bool receiving = false;
    TBlockCheckMethod blockCheck = bcmNone;
    std::string fileName;
    long long fileSize = -1;  // -1 while unknown (a receive)
    int blockSize = 256;
    long long bytesTransferred = 0;
    int blockErrors = 0;
    int totalErrors = 0;
    int kermitWindows = 0;
    std::chrono::nanoseconds elapsed{0};
    double lineCharactersPerSecond = 0;  // what the line can carry
    int status = 0;
    std::string statusText = "OK";
    // A receive wrote its file under FileName: at success, or the part it
    // kept when the disk failed it.
    bool fileWritten = false;

    double seconds() const { return std::chrono::duration<double>(elapsed).count(); }
    // Bytes a second so far.
    double throughput() const;
    // 0..1 of the file; 0 while the size is unknown.
    double fraction() const;
    // Seconds still to go at the present rate, or at the line's rate before
    // there is one; negative while unknown.
    double secondsLeft() const;
};

// "1:05": minutes and two-digit seconds.
std::string minutesSeconds(double seconds);

// The progress window's lines, label and value, in the window's order:
// "Protocol:" to "Status:" (the bar is the fraction).
std::vector<std::pair<std::string, std::string>> progressLines(const TransferProgress& progress);

// Shows a transfer's progress while it runs: the "Protocol Status" window,
// or the command line's one-line bar.
class ProtocolStatusDisplay {
public:
    virtual ~ProtocolStatusDisplay() = default;
    // A transfer starts; `transfer` is what the display's Cancel cancels.
    virtual void transferStarted(FileTransfer& transfer, const TransferProgress& progress) = 0;
    // Every StatusInterval ticks while it runs.
    virtual void updateProgress(const TransferProgress& progress) = 0;
    // It has ended with `code`, before the finish event is raised.
    virtual void transferEnded(const TransferProgress& progress, int code) = 0;
};

}  // namespace zantor
