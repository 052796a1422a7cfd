#pragma once

#include <string>

namespace zantor::sim {

// A pseudo-terminal pair standing in for a serial cable: the program opens
// slavePath() like a tty; the simulated control talks through the master. The slave is
// set raw and held open by the pair, so the pty survives the program closing
// and reopening it.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }
    // The pair's own descriptor of the slave: its termios show the line
    // settings the program chose.
    int slaveFd() const { return slave_; }
    // Closes the master: the program's end sees the line hang up.
    void closeMaster();
    // Releases the pair's own hold on the slave.
    void closeSlave();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace zantor::sim
