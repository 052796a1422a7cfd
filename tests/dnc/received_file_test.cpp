#include "dnc/received_file.h"

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "dnc/tape_file.h"
#include "dnc/tape_options.h"
#include "temp_folder.h"

namespace zantor {
namespace {

class ReceivedFileTest : public ::testing::Test {
protected:
    std::string converted(const std::string& captured, TapeCode code) {
        const std::string file = folder.write("RECV.TAP", captured);
        convertReceivedFile(file, code);
        return folder.read("RECV.TAP");
    }
    testing::TempFolder folder;
};

TEST_F(ReceivedFileTest, EiaBackToText) {
    EXPECT_EQ(converted("\x45\x01\x80\x80\x0A", TapeCode::Eia), "N1\r\n");
    // 0x0D is the code of "*" and 0x1A that of ":": data, not a line end or
    // the end of the text.
    EXPECT_EQ(converted("\x67\x01\x0D\x1A\x80\x45\x02\x80", TapeCode::Eia), "G1*:\r\nN2\r\n");
    EXPECT_EQ(converted("\x8D\x03", TapeCode::Eia), "??");
    EXPECT_EQ(converted(std::string("\x7F\x01", 2), TapeCode::Eia), std::string("\0" "1", 2));
}

TEST_F(ReceivedFileTest, AsciiBackToText) {
    EXPECT_EQ(converted("\x47\xB1\x8D\x0A\x8D\x0A\x0D\x80M30\x8D\x0A", TapeCode::Ascii),
              "G1\r\nM30\r\n");
    EXPECT_EQ(converted("G1\r\nG2\x1AG3\r\n", TapeCode::Ascii), "G1\r\nG2");
    EXPECT_EQ(converted("\xC7\xB1", TapeCode::Ascii), "G1");
    // A line feed with a parity fault is still a line feed: no lone LF in the text.
    EXPECT_EQ(converted("G1\x8AG2\x8D\x0A", TapeCode::Ascii), "G1G2\r\n");
}

TEST_F(ReceivedFileTest, IsoStaysAsCaptured) {
    const std::string bytes("G1\r\n\x1A\x80\x00\n", 8);
    EXPECT_EQ(converted(bytes, TapeCode::Iso), bytes);
}

TEST_F(ReceivedFileTest, EveryEiaTextRoundTripsThroughTheTape) {
    // What a control punches from a program is read back as that program,
    // apart from the characters that share a code.
    const std::string program = "%\r\nO1000\r\nN10 G90 G1 X-1.25 Y+3. F200.\r\n#1=[2*3]/4\r\nM30\r\n%\r\n";
    std::string tape;
    for (const char c : program)
        if (c != '\n') tape += char(encodeEia(uint8_t(c)));
    const std::string text = converted(tape, TapeCode::Eia);
    EXPECT_EQ(text, "%\r\nO1000\r\nN10 G90 G1 X-1.25 Y+3. F200.\r\n#1%[2*3]/4\r\nM30\r\n%\r\n");
}

TEST_F(ReceivedFileTest, ConversionToAnotherFileOrAFailureLeavesTheTargetAlone) {
    const std::string captured = folder.write("CAPTURE", "\x45\x01\x80");
    const std::string target = folder.write("TARGET.TAP", "old");
    convertReceivedFile(captured, target, TapeCode::Eia);
    EXPECT_EQ(folder.read("TARGET.TAP"), "N1\r\n");
    EXPECT_EQ(folder.read("CAPTURE"), "\x45\x01\x80");
    folder.write("TARGET.TAP", "old");
    EXPECT_THROW(convertReceivedFile(folder.file("none"), target, TapeCode::Eia), FileError);
    EXPECT_EQ(folder.read("TARGET.TAP"), "old");
}

TEST_F(ReceivedFileTest, TapeFileEncodingByteForByte) {
    const std::string source = folder.write("IN", "N1\r\nG2\n");
    encodeTapeFile(source, folder.file("EIA"), TapeCode::Eia);
    EXPECT_EQ(folder.read("EIA"), std::string("\x45\x01\x80\x00\x67\x02\x00", 7));
    encodeTapeFile(source, folder.file("ASCII"), TapeCode::Ascii);
    EXPECT_EQ(folder.read("ASCII"), "\x4E\xB1\x8D\x0A\x47\xB2\x0A");
    encodeTapeFile(source, folder.file("ISO"), TapeCode::Iso);
    EXPECT_EQ(folder.read("ISO"), "N1\r\nG2\n");

    // A byte without an EIA code, deep in a file bigger than one read.
    std::string big;
    for (int i = 0; i < 20000; ++i) big += "N" + std::to_string(i) + " G1 X1.\r\n";
    big += "G1 X<1>\r\n";
    folder.write("BIG", big);
    folder.write("OUT", "old");
    try {
        encodeTapeFile(folder.file("BIG"), folder.file("OUT"), TapeCode::Eia);
        FAIL() << "no error";
    } catch (const TapeCodeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  folder.file("BIG") + ", line 20001, column 5: \"<\" (0x3C) has no EIA code");
    }
    EXPECT_EQ(folder.read("OUT"), "old");
}

}  // namespace
}  // namespace zantor
