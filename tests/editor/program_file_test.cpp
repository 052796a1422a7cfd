#include "editor/program_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using testing::TempFolder;
using Paragraphs = std::vector<std::string>;

Paragraphs splitInChunks(std::string_view bytes, size_t chunk) {
    Paragraphs out;
    ProgramLineSplitter splitter([&](std::string_view p) { out.emplace_back(p); });
    for (size_t at = 0; at < bytes.size(); at += chunk) splitter.feed(bytes.substr(at, chunk));
    splitter.finish();
    return out;
}

Paragraphs readAll(const std::string& path) {
    Paragraphs out;
    readProgramFile(path, [&](std::string_view p) { out.emplace_back(p); });
    return out;
}

void write(const std::string& path, const Paragraphs& paragraphs, bool backup) {
    writeProgramFile(
        path, int(paragraphs.size()),
        [&](int n) { return std::string_view(paragraphs[size_t(n) - 1]); }, backup);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

struct SplitCase {
    const char* name;
    std::string bytes;
    Paragraphs expected;
};

class LineSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitting, GivesTheSameParagraphsInAnyChunking) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(splitInChunks(c.bytes, c.bytes.size() + 1), c.expected) << "whole";
    EXPECT_EQ(splitInChunks(c.bytes, 1), c.expected) << "byte by byte";
    EXPECT_EQ(splitInChunks(c.bytes, 3), c.expected) << "in threes";
    TempFolder folder;
    const std::string path = folder.write("P.TAP", c.bytes);
    EXPECT_EQ(readAll(path), c.expected) << "from a file";
    // Counted without keeping the paragraphs, as a read would find them.
    const ProgramFileCount count = countProgramFile(path);
    EXPECT_EQ(count.paragraphs, (long long)c.expected.size()) << "counted";
    const ProgramFileReport read = readProgramFile(path, [](std::string_view) {});
    EXPECT_EQ(count.report.linesCut, read.linesCut) << "counted";
    EXPECT_EQ(count.report.firstCutLine, read.firstCutLine) << "counted";
}

// Lines of `length` characters, each with CR LF, until a CR LF lies across
// byte `at` of the file (its CR the byte before): the counting reads files in
// blocks, and a line end split between two of them is still one line end.
SplitCase crLfAcross(const char* name, size_t at, size_t length) {
    SplitCase c{name, "", {}};
    const std::string line(length, 'G');
    while (c.bytes.size() + length + 2 <= at) {
        c.bytes += line + "\r\n";
        c.expected.push_back(line);
    }
    const std::string last(at - 1 - c.bytes.size(), 'X');
    c.bytes += last + "\r\nM30";
    c.expected.insert(c.expected.end(), {last, "M30"});
    return c;
}

const std::string kLong(40000, 'A');

INSTANTIATE_TEST_SUITE_P(
    ProgramFile, LineSplitting,
    ::testing::Values(
        SplitCase{"CrLf", "G1\r\nM30\r\n", {"G1", "M30"}},
        SplitCase{"Lf", "G1\nM30\n", {"G1", "M30"}},
        SplitCase{"LoneCr", "G1\rM30\r", {"G1", "M30"}},
        SplitCase{"NoEndAfterLast", "G1\r\nM30", {"G1", "M30"}}, SplitCase{"Empty", "", {}},
        SplitCase{"OnlyLineEnds", "\r\n\r\n", {"", ""}},
        SplitCase{"CrThenCrLf", "A\r\r\nB", {"A", "", "B"}},
        SplitCase{"LfThenCr", "A\n\rB", {"A", "", "B"}},
        SplitCase{"TrailingBlanks", "N10 G1 X5   \r\nG0\t \t\r\n", {"N10 G1 X5", "G0"}},
        SplitCase{"InnerTabsAndControls", "G1\tX5\x12\r\n", {"G1\tX5\x12"}},
        SplitCase{"NulAndHighBytes",
                  std::string("A\0B\xff\xa0", 5) + "\r\n",
                  {std::string("A\0B\xff\xa0", 5)}},
        SplitCase{"LongLineCut", kLong + "   B\r\nNEXT", {kLong.substr(0, 32767), "NEXT"}},
        SplitCase{"LongLineCutAtBlanks",
                  std::string(32760, 'A') + std::string(10, ' ') + "B\r\nN2",
                  {std::string(32760, 'A'), "N2"}},
        SplitCase{"LongestLineKept", std::string(32767, 'A') + "   \r\nB",
                  {std::string(32767, 'A'), "B"}},
        SplitCase{"LinesLongerThanACountBlock",
                  std::string(20000, 'A') + "\n" + std::string(20000, 'B') + "\r",
                  {std::string(20000, 'A'), std::string(20000, 'B')}},
        crLfAcross("CrLfAcrossCountBlocks", 16 * 1024, 100),
        crLfAcross("CrLfAcrossReads", 256 * 1024, 1000)),
    [](const auto& info) { return std::string(info.param.name); });

// A cut line is written back shortened, so the load has to tell which lines it cut.
TEST(ProgramFile, TheReportNamesTheLinesCutAndIgnoresCutBlanks) {
    const struct {
        std::string bytes;
        long long linesCut, firstCutLine;
    } cases[] = {
        {"G1\r\nM30\r\n", 0, 0},
        {"G1\r\n" + kLong + "\r\nG2\r\n" + kLong, 2, 2},
        {std::string(32767, 'A') + std::string(50, ' ') + "\r\n" + kLong + "B", 1, 2},
    };
    for (const auto& c : cases) {
        for (const size_t chunk : {c.bytes.size() + 1, size_t(7)}) {
            ProgramLineSplitter splitter([](std::string_view) {});
            for (size_t at = 0; at < c.bytes.size(); at += chunk)
                splitter.feed(std::string_view(c.bytes).substr(at, chunk));
            splitter.finish();
            EXPECT_EQ(splitter.report().linesCut, c.linesCut) << chunk;
            EXPECT_EQ(splitter.report().firstCutLine, c.firstCutLine) << chunk;
        }
    }
    EXPECT_EQ(linesCutWarning({}), "");
    EXPECT_EQ(linesCutWarning({1, 7}),
              "Line 7 is longer than 32767 characters and was cut to that length.\r\n"
              "Saving this file will shorten it.");
    EXPECT_EQ(linesCutWarning({3, 2}),
              "3 lines, the first of them line 2, are longer than 32767 characters and were cut "
              "to that length.\r\nSaving this file will shorten them.");
    TempFolder folder;
    const ProgramFileReport fromFile =
        readProgramFile(folder.write("LONG.TAP", "G1\r\n" + kLong), [](std::string_view) {});
    EXPECT_EQ(fromFile.linesCut, 1);
    EXPECT_EQ(fromFile.firstCutLine, 2);
}

TEST(ProgramFile, ReadErrorsCarryTheSystemText) {
    TempFolder folder;
    try {
        readAll(folder.file("MISSING.TAP"));
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
    try {
        readAll(folder.path());
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "Is a directory");
    }
    // A pipe would wait for a writer for ever.
    const std::string pipe = folder.file("PIPE.TAP");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    try {
        readAll(pipe);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), kNotARegularFile);
    }
}

TEST(ProgramFile, WritesCrLfAfterEachParagraphButAnEmptyLastOne) {
    const struct {
        Paragraphs paragraphs;
        std::string bytes;
    } cases[] = {
        {{"G1", "M30"}, "G1\r\nM30\r\n"},
        {{"G1", "M30", ""}, "G1\r\nM30\r\n"},
        {{"G1", "", "M30"}, "G1\r\n\r\nM30\r\n"},
        {{""}, ""},
        {{}, ""},
        {{std::string("G1\0X", 4), "\t\x12"}, "G1 X\r\n\t\x12\r\n"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        write(folder.file("P.TAP"), c.paragraphs, false);
        EXPECT_EQ(folder.read("P.TAP"), c.bytes);
    }
}

TEST(ProgramFile, EveryByteSurvivesALoadAndASave) {
    std::string line;
    for (int c = 0; c <= 255; ++c)
        if (c != '\r' && c != '\n') line.push_back(char(c));
    line += "Z";  // so that no blank ends the line
    TempFolder folder;
    const std::string path = folder.write("ALL.TAP", line + "\r\n" + line + "\r\n");
    const Paragraphs loaded = readAll(path);
    ASSERT_EQ(loaded, (Paragraphs{line, line}));
    write(path, loaded, false);
    std::string saved = line;
    saved[0] = ' ';  // the NUL
    EXPECT_EQ(folder.read("ALL.TAP"), saved + "\r\n" + saved + "\r\n");
}

TEST(ProgramFile, BackupNameReplacesTheExtension) {
    const struct {
        const char* path;
        const char* backup;
    } cases[] = {
        {"/shop/PART.TAP", "/shop/PART.BAK"},
        {"/shop/PART", "/shop/PART.BAK"},
        {"/shop/PART.X.NC", "/shop/PART.X.BAK"},
        {"/shop.d/PART", "/shop.d/PART.BAK"},
        {"PART.TAP", "PART.BAK"},
        {"/shop/PART.BAK", ""},
        {"/shop/part.bak", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(backupFileName(c.path), c.backup) << c.path;
}

TEST(ProgramFile, SavingOverAFileKeepsTheOldOneAsBackup) {
    TempFolder folder;
    const std::string path = folder.write("PART.TAP", "OLD\r\n");
    folder.write("PART.BAK", "OLDER\r\n");
    write(path, {"NEW"}, true);
    EXPECT_EQ(folder.read("PART.TAP"), "NEW\r\n");
    EXPECT_EQ(folder.read("PART.BAK"), "OLD\r\n");
    write(path, {"NEWER"}, true);
    EXPECT_EQ(folder.read("PART.BAK"), "NEW\r\n");
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"PART.BAK", "PART.TAP"}));
}

TEST(ProgramFile, NoBackupWhenOffForNewFilesOrForBakFiles) {
    TempFolder folder;
    write(folder.file("NEW.TAP"), {"G1"}, true);
    const std::string off = folder.write("OFF.TAP", "OLD\r\n");
    write(off, {"G2"}, false);
    const std::string bak = folder.write("SAVED.BAK", "OLD\r\n");
    write(bak, {"G3"}, true);
    EXPECT_EQ(folderEntries(folder.path()),
              (std::vector<std::string>{"NEW.TAP", "OFF.TAP", "SAVED.BAK"}));
    EXPECT_EQ(folder.read("SAVED.BAK"), "G3\r\n");
}

TEST(ProgramFile, SaveKeepsThePermissionsOfTheOldFile) {
    TempFolder folder;
    const std::string path = folder.write("PART.TAP", "OLD\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    write(path, {"NEW"}, true);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// The file size limit makes the write fail as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST(ProgramFile, AFailedSaveLeavesTheOldFileAndItsBackup) {
    TempFolder folder;
    const std::string path = folder.write("PART.TAP", "OLD\r\n");
    folder.write("PART.BAK", "OLDER\r\n");
    const Paragraphs big(5000, std::string(60, 'X'));
    try {
        FileSizeLimit limit(100000);
        write(path, big, true);
        FAIL() << "the save reported success";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "File too large");
    }
    EXPECT_EQ(folder.read("PART.TAP"), "OLD\r\n");
    EXPECT_EQ(folder.read("PART.BAK"), "OLDER\r\n");
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"PART.BAK", "PART.TAP"}))
        << "no temporary file is left behind";
}

TEST(ProgramFile, AWriteProtectedFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write to any file";
    TempFolder folder;
    const std::string path = folder.write("PROVEN.TAP", "OLD\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    try {
        write(path, {"NEW"}, true);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "Permission denied");
    }
    EXPECT_EQ(folder.read("PROVEN.TAP"), "OLD\r\n");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"PROVEN.TAP"});
}

TEST(ProgramFile, SaveIntoAMissingFolderFails) {
    TempFolder folder;
    try {
        write(folder.file("NOPE/PART.TAP"), {"G1"}, true);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
}

}  // namespace
}  // namespace zantor::editor
