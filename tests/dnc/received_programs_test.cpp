#include "dnc/simulator/received_programs.h"

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "temp_folder.h"

namespace zantor::sim {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(ReceivedProgramsTest, ProgramBytesLeaveOutBlankTapeAndFlowControlWhereTheyAreNoCode) {
    struct Case {
        TapeCode code;
        std::string chunk, program;
    };
    const Case cases[] = {
        {TapeCode::Iso, std::string("\0\0%\r\n\x11G1\x13\r\n", 12), "%\r\nG1\r\n"},
        // With even parity XOFF is 0x93.
        {TapeCode::Ascii, std::string("\x11\xA5\x93\x8D\x0A", 5), "\xA5\x8D\x0A"},
        // Under EIA 0x11 and 0x13 are "1" and "3".
        {TapeCode::Eia, std::string("\0\x11\x13\x80", 4), "\x11\x13\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReceivedPrograms::programBytes(c.chunk, c.code), c.program) << int(c.code);
}

TEST(ReceivedProgramsTest, AProgramIsFiledOnceTheLineHasBeenQuietAndDecoded) {
    testing::TempFolder folder;
    folder.write("SIM0001.TAP", "kept");
    ReceivedPrograms programs(folder.path(), TapeCode::Ascii, seconds(2));
    const auto t0 = ReceivedPrograms::Clock::time_point{} + seconds(100);
    // "G1" CR with even parity, then the line goes quiet.
    std::string line = "\xC7\xB1\x8D";
    EXPECT_FALSE(programs.update(line, t0));
    EXPECT_FALSE(programs.update(line, t0 + milliseconds(1999)));
    const auto saved = programs.update(line, t0 + seconds(2));
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, folder.path() + "SIM0002.TAP");
    EXPECT_EQ(folder.read("SIM0002.TAP"), "G1\r\n");
    EXPECT_EQ(folder.read("SIM0001.TAP"), "kept");
    EXPECT_FALSE(programs.update(line, t0 + seconds(10)));  // filed once

    // Only flow control after it: nothing to file.
    line += "\x11\x93";
    EXPECT_FALSE(programs.update(line, t0 + seconds(11)));
    EXPECT_FALSE(programs.update(line, t0 + seconds(20)));
    EXPECT_EQ(programs.filed(), line.size());
    EXPECT_FALSE(fileExists(folder.file("SIM0003.TAP")));
}

}  // namespace
}  // namespace zantor::sim
