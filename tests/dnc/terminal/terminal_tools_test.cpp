#include <gtest/gtest.h>

#include "dnc/terminal/hex_mode.h"
#include "dnc/terminal/terminal_capture.h"
#include "dnc/terminal/terminal_screen.h"
#include "dnc/terminal/typed_key.h"
#include "temp_folder.h"

namespace zantor {
namespace {

TEST(HexModeTest, ShowsEachByteWithItsCode) {
    const std::pair<std::string, std::string> cases[] = {
        {"G\r\n", "G[47],<cr><lf>\r\n"},
        {"%", "%[25],"},
        {std::string("\x00\x13\x80", 3), ".[00],.[13],.[80],"},
        {"\xFF", "\xFF[FF],"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(hexModeText(bytes), text) << bytes;

    TerminalScreen screen;
    screen.writePlain(hexModeText("G\r\nM30\r\n"));
    EXPECT_EQ(screen.screenText(), "G[47],<cr><lf>\nM[4D],3[33],0[30],<cr><lf>");
}

TEST(TypedKeyTest, EchoAndAutoLf) {
    struct Case {
        std::string text;
        bool enter, echo, autoLf;
        TypedKey effect;
    };
    const Case cases[] = {
        {"G", false, false, false, {"G", ""}},
        {"G", false, true, false, {"G", "G"}},
        {"\r", true, true, true, {"\r\n", "\n"}},
        {"\r", true, false, true, {"\r\n", "\n"}},
        {"\r", true, true, false, {"\r", "\r"}},
        {"\r", true, false, false, {"\r", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(typedKey(c.text, c.enter, c.echo, c.autoLf), c.effect)
            << c.text << c.enter << c.echo << c.autoLf;
}

TEST(TerminalCaptureTest, AppendsWhatTheScreenShows) {
    testing::TempFolder folder;
    const std::string path = folder.write(kCaptureFileName, "earlier\r\n");
    TerminalCapture capture;
    ASSERT_EQ(capture.start(path), "");
    EXPECT_TRUE(capture.active());
    EXPECT_EQ(capture.write("G1 X1\r\n"), "");
    // Every write is on the disk at once: nothing is lost if the program dies.
    EXPECT_EQ(folder.read(kCaptureFileName), "earlier\r\nG1 X1\r\n");
    capture.stop();
    EXPECT_EQ(capture.write("not captured"), "");
    EXPECT_EQ(folder.read(kCaptureFileName), "earlier\r\nG1 X1\r\n");
}

TEST(TerminalCaptureTest, AFileThatCannotBeWrittenStopsTheCaptureWithTheReason) {
    TerminalCapture capture;
    EXPECT_EQ(capture.start("/nonexistent-folder/ZTR2013.LOG"),
              "/nonexistent-folder/ZTR2013.LOG: No such file or directory");
    EXPECT_FALSE(capture.active());

    ASSERT_EQ(capture.start("/dev/full"), "");
    EXPECT_EQ(capture.write("G1\r\n"), "/dev/full: No space left on device");
    EXPECT_FALSE(capture.active());
}

}  // namespace
}  // namespace zantor

#include "dnc/test_pattern.h"

namespace zantor {
namespace {

TEST(TestPatternTest, OneKHoldsSixtyEightPatternLines) {
    testing::TempFolder folder;
    const std::string path = folder.file(kTestPatternFileName);
    const std::pair<int, size_t> cases[] = {{1, 68}, {3, 204}, {0, 0}};
    for (const auto& [k, lines] : cases) {
        writeTestPattern(path, k);
        std::string expected = "%\r\nO7777\r\n";
        for (size_t i = 0; i < lines; ++i) expected += "G01X1.5Y2.5Z3.5\r\n";
        expected += "M30\r\n%\r\n";
        EXPECT_EQ(folder.read(kTestPatternFileName), expected) << k;
    }
}

}  // namespace
}  // namespace zantor
