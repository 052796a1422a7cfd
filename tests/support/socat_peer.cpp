#include "socat_peer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace zantor::testing {

namespace {
template <typename Done>
bool poll(std::chrono::milliseconds timeout, Done done) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
}  // namespace

SocatPeer::SocatPeer(const std::string& link, const std::string& folder, const std::string& command)
    : link_(link), statusFile_(folder + "/.peer-status"), goFile_(folder + "/.peer-go") {
    std::filesystem::remove(statusFile_);
    std::filesystem::remove(goFile_);
    // A link left by the peer before must not pass for this one's: ready()
    // waits for the link of the new pty.
    std::filesystem::remove(link_);
    const std::string script = "cd '" + folder + "' && while [ ! -e '" + goFile_ +
                               "' ]; do sleep 0.01; done && " + command + "; echo $? > '" +
                               statusFile_ + ".new' && mv '" + statusFile_ + ".new' '" +
                               statusFile_ + "'; sleep 5";
    const std::string pty = "PTY,link=" + link + ",raw,echo=0";
    const std::string system = "SYSTEM:" + script;
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        execlp("socat", "socat", pty.c_str(), system.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ > 0) setpgid(pid_, pid_);
}

SocatPeer::~SocatPeer() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

bool SocatPeer::ready(std::chrono::milliseconds timeout) const {
    return poll(timeout, [&] { return std::filesystem::exists(link_); });
}

void SocatPeer::go() {
    std::ofstream(goFile_).put('\n');
}

std::optional<int> SocatPeer::exitStatus(std::chrono::milliseconds timeout) const {
    if (!poll(timeout, [&] { return std::filesystem::exists(statusFile_); })) return {};
    std::ifstream in(statusFile_);
    int status = -1;
    in >> status;
    return status;
}

bool programAvailable(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace zantor::testing
