#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "temp_folder.h"

namespace zantor {
namespace {

std::set<std::string> filesIn(const testing::TempFolder& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    return names;
}

constexpr int kFinished = 3;

// Runs a write of `path` in a child process that dies at the `stopAt`-th
// system call of the atomic write, as a kill at that moment would end it.
// True when the write finished before reaching that call.
bool writeKilledAt(int stopAt, const std::string& path, const std::string& bytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        int calls = 0;
        setAtomicWriteHook([&](AtomicWriteStep) {
            if (calls++ == stopAt) ::_exit(0);
        });
        IniStore::update(path, [&](IniFile& ini) { ini.writeString("Machine Names", "Big", bytes); });
        ::_exit(kFinished);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == kFinished;
}

TEST(AtomicWrite, AKillAtAnySystemCallLeavesTheOldOrTheNewFileAndNoTemporaryFile) {
    testing::TempFolder dir;
    const std::string oldText = "[Machine Names]\nNumber=1\nMachine1=Haas\n";
    const std::string path = dir.write("WPOSTS.INI", oldText);
    const std::string big(200000, 'x');
    bool finished = false;
    for (int stopAt = 0; !finished; ++stopAt) {
        ASSERT_LT(stopAt, 50) << "the write never finished";
        dir.write("WPOSTS.INI", oldText);
        finished = writeKilledAt(stopAt, path, big);
        IniStore::clearCache();
        const std::string now = dir.read("WPOSTS.INI");
        const IniFile ini = IniFile::parse(now);
        EXPECT_TRUE(now == oldText || ini.readString("Machine Names", "Big", "") == big)
            << "killed at call " << stopAt;
        // At most the named temporary of a writer killed just before its
        // rename is left, and the next write of the file removes it.
        EXPECT_LE(filesIn(dir).size(), finished ? 1u : 2u) << "killed at call " << stopAt;
        writeFileAtomically(path, now);
        EXPECT_EQ(filesIn(dir), (std::set<std::string>{"WPOSTS.INI"})) << "killed at call " << stopAt;
    }
}

TEST(AtomicWrite, AnotherLivingWritersTemporaryFileIsLeftAlone) {
    testing::TempFolder dir;
    const std::string path = dir.write("WPOSTS.INI", "old");
    // Our own process is alive: a file named as ours is someone's write in progress.
    const std::string busy = "WPOSTS.INI.zantor-" + std::to_string(::getpid()) + "-0badf00d";
    dir.write(busy, "half");
    dir.write("WPOSTS.INI.bak", "the user's own copy");
    writeFileAtomically(path, "new");
    EXPECT_EQ(filesIn(dir), (std::set<std::string>{"WPOSTS.INI", busy, "WPOSTS.INI.bak"}));
    EXPECT_EQ(dir.read("WPOSTS.INI"), "new");
}

TEST(ReadableFile, APipeOrADeviceIsRefusedAsNotARegularFile) {
    testing::TempFolder dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        try {
            ReadableFile file(path);
            FAIL() << path << " was opened";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), kNotARegularFile) << path;
        }
    }
}

}  // namespace
}  // namespace zantor
