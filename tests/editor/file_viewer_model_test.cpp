#include "editor/file_viewer_model.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/file_io.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using namespace std::string_literals;

using testing::TempFolder;
using Lines = std::vector<std::string>;

// All text lines, walking forward from the top, with where each starts.
Lines textLines(const FileViewerModel& viewer, std::vector<long long>* starts = nullptr) {
    Lines lines;
    for (long long offset = 0; offset < viewer.size();) {
        if (starts) starts->push_back(offset);
        const auto line = viewer.textLine(offset);
        lines.push_back(line.text);
        offset = line.next;
    }
    return lines;
}

TEST(FileViewerHex, TwentyBytesGiveTwoLines) {
    TempFolder folder;
    FileViewerModel viewer;
    viewer.open(folder.write("P.TAP", "G01 X1.5 Y2\r\n\t\0\xffM30\x7f"s));
    ASSERT_EQ(viewer.hexLineCount(), 2);
    const std::string first = viewer.hexLine(0);
    EXPECT_EQ(first, "00000000  47 30 31 20 58 31 2E 35 20 59 32 0D 0A 09 00 FF  G01 X1.5 Y2.....");
    EXPECT_EQ(first.size(), 75u);
    EXPECT_EQ(viewer.hexLine(1), "00000010  4D 33 30 7F " + std::string(36, ' ') + " M30\x7f");
    EXPECT_EQ(viewer.hexLine(1).find("M30"), 59u) << "characters start in column 60";
}

TEST(FileViewerHex, CharactersBelow32AndAbove127ShowAsPoints) {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(char(c));
    for (int line = 0; line < 16; ++line) {
        const std::string text = formatHexLine(line * 16, all.substr(size_t(line) * 16, 16));
        for (int i = 0; i < 16; ++i) {
            const int c = line * 16 + i;
            const char shown = text[size_t(59 + i)];
            EXPECT_EQ(shown, (c < 32 || c > 127) ? '.' : char(c)) << c;
        }
    }
}

TEST(FileViewerText, LinesEndAtLineEndsWithTabsAndNulsShown) {
    TempFolder folder;
    FileViewerModel viewer;
    viewer.open(folder.write("P.TAP", "G1\tX5\r\nA\0B\nC\rD\r\n\r\nEND"s));
    EXPECT_EQ(textLines(viewer), (Lines{"G1      X5", "A B", "C", "D", "", "END"}));
}

TEST(FileViewerText, ALongLineGoesOnInTheNextViewerLine) {
    TempFolder folder;
    FileViewerModel viewer;
    viewer.open(folder.write("P.TAP", std::string(2000, 'A') + "\r\n\t" + std::string(1020, 'B')));
    EXPECT_EQ(textLines(viewer),
              (Lines{std::string(1023, 'A'), std::string(977, 'A'),
                     std::string(8, ' ') + std::string(1015, 'B'), std::string(5, 'B')}));
}

// Walking back must find the very lines that walking forward shows, long
// lines, empty lines and every kind of line end included.
TEST(FileViewerText, WalkingBackMeetsTheSameLines) {
    const std::string files[] = {
        "G1\r\nG2\r\n",
        "G1\nG2",
        "\r\n\r\n\rX\n\n",
        std::string(3000, 'A') + "\r\n" + std::string(1023, 'B') + "\r" + std::string(2046, 'C'),
        "A\n\rB\r\r\nC",
        std::string(70000, 'Z') + "\nEND\n",
        std::string(140000, '\0') + "\r\n" + std::string(3000, '\t'),
    };
    TempFolder folder;
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 20));
        FileViewerModel viewer;
        viewer.open(folder.write("P.TAP", bytes));
        std::vector<long long> starts;
        textLines(viewer, &starts);
        const long long n = (long long)starts.size();
        for (long long i = 1; i < n; ++i)
            EXPECT_EQ(viewer.previousLineStart(starts[size_t(i)]), starts[size_t(i) - 1]) << i;
        EXPECT_EQ(viewer.previousLineStart(viewer.size()), starts.back());
        for (int screen : {1, 2, 3, 50})
            EXPECT_EQ(viewer.lastScreenTop(screen), starts[size_t(std::max(0LL, n - screen))])
                << screen;
    }
}

TEST(FileViewer, OpenErrorsKeepThePreviousFile) {
    TempFolder folder;
    FileViewerModel viewer;
    viewer.open(folder.write("P.TAP", "G1\r\n"));
    try {
        viewer.open(folder.file("MISSING.TAP"));
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
    const std::string pipe = folder.file("PIPE");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(viewer.open(pipe), FileError) << "a pipe is refused, not waited on";
    EXPECT_THROW(viewer.open("/dev/zero"), FileError);
    EXPECT_TRUE(viewer.isOpen());
    EXPECT_EQ(viewer.path(), folder.file("P.TAP"));
    EXPECT_EQ(viewer.textLine(0).text, "G1");
    viewer.close();
    EXPECT_FALSE(viewer.isOpen());
}

TEST(FileViewer, FilesBeyondFourGigabytesKeepTheirOffsets) {
    TempFolder folder;
    const std::string path = folder.file("HUGE.BIN");
    const long long size = 5LL * 1024 * 1024 * 1024 + 20;  // sparse: no disk space used
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, size), 0);
        ASSERT_EQ(::pwrite(fd, "\r\nM30\r\n", 7, size - 7), 7);
        ::close(fd);
    }
    FileViewerModel viewer;
    viewer.open(path);
    EXPECT_EQ(viewer.hexLineCount(), size / 16 + 1);
    EXPECT_EQ(viewer.hexLine(viewer.hexLineCount() - 1),
              "140000010  33 30 0D 0A " + std::string(36, ' ') + " 30..");
    const long long top = viewer.lastScreenTop(2);
    EXPECT_EQ(viewer.textLine(viewer.textLine(top).next).text, "M30");
}

}  // namespace
}  // namespace zantor::editor
