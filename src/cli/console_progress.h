#pragma once

#include <iosfwd>

#include "dnc/port/transfer_progress.h"

namespace zantor::cli {

// A transfer's progress as one line on a terminal, rewritten in place:
// a bar, the bytes, the rate and the time left.
class ConsoleProgress : public ProtocolStatusDisplay {
public:
    explicit ConsoleProgress(std::ostream& out) : out_(out) {}

    void transferStarted(FileTransfer& transfer, const TransferProgress& progress) override;
    void updateProgress(const TransferProgress& progress) override;
    void transferEnded(const TransferProgress& progress, int code) override;

    // "[#######.............] 123456/1048576 bytes  11.2 kB/s  1:15 left".
    static std::string line(const TransferProgress& progress);

private:
    std::ostream& out_;
    size_t shown_ = 0;  // length of the line on the screen
};

}  // namespace zantor::cli
