#include "dnc/send_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "dnc/work_file.h"
#include "dnc/work_files.h"
#include "temp_folder.h"

namespace zantor {
namespace {

class SendPreparationTest : public ::testing::Test {
protected:
    // The work file made from `text` with `options`.
    std::string workFileOf(const std::string& text, const TapeOptions& options) {
        const std::string source = folder.write("PROG.TAP", text);
        buildWorkFile(source, folder.file("work"), options, "PROG.TAP");
        return folder.read("work");
    }
    static TapeOptions in(TapeCode code) {
        TapeOptions o;
        o.code = code;
        return o;
    }

    testing::TempFolder folder;
};

TEST_F(SendPreparationTest, EachTapeCodeEndsItsLinesItsOwnWay) {
    EXPECT_EQ(workFileOf("G01 X1.\r\n<not sent\r\n", in(TapeCode::Iso)), "G01 X1.\r\n");
    EXPECT_EQ(workFileOf("N10G1\r\n", in(TapeCode::Eia)), "\x45\x01\x20\x67\x01\x80");
    EXPECT_EQ(workFileOf("G1\r\n", in(TapeCode::Ascii)), "\x47\xB1\x8D\x0A");
}

TEST_F(SendPreparationTest, LinesEndAsTheEditorEndsThem) {
    const TapeOptions iso = in(TapeCode::Iso);
    struct Case {
        std::string text, work;
    };
    const Case cases[] = {
        {"G1\nG2\n", "G1\r\nG2\r\n"},      // a Unix file is lines, not one block
        {"G1\rG2\r", "G1\r\nG2\r\n"},      // lone CRs
        {"G1\r\nG2", "G1\r\nG2\r\n"},      // the last line needs no line end
        {"G1\n\nG2\r\n", "G1\r\n\r\nG2\r\n"},
        {"G1\r\n\x1AG2\r\n", "G1\r\n"},   // Ctrl-Z ends the text
        {"G1\x1A", "G1\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(workFileOf(c.text, iso), c.work) << c.text;
}

TEST_F(SendPreparationTest, CommentLinesBlankLinesAndLineFeedFilter) {
    struct Case {
        bool strip, filter;
        std::string comment, text, work;
    };
    const Case cases[] = {
        {false, false, "<", "<A\r\n\r\nG1\r\n", "\r\nG1\r\n"},
        {true, false, "<", "<A\r\n\r\nG1\r\n", "G1\r\n"},
        {false, false, "(", "(A)\r\n<B\r\n", "<B\r\n"},
        {false, false, "", "<A\r\n", "<A\r\n"},    // no comment character: every line goes
        {false, false, "<<", "<A\r\n", "<A\r\n"},  // a longer setting never equals one character
        // The filter drops line feeds that follow a line end, so they make
        // no empty lines; a line feed that ends a line still ends it.
        {false, true, "<", "G1\r\n\n\nG2\r\n", "G1\r\nG2\r\n"},
        {false, true, "<", "\nG1\nG2\n\n", "G1\r\nG2\r\n"},
        {false, false, "<", "G1\r\n\nG2\r\n", "G1\r\n\r\nG2\r\n"},
        {false, true, "<", "G1\r\rG2", "G1\r\n\r\nG2\r\n"},  // CRs are not line feeds
    };
    for (const Case& c : cases) {
        TapeOptions o = in(TapeCode::Iso);
        o.StripBlankLines = c.strip;
        o.FilterLineFeeds = c.filter;
        o.LineCommentChar = c.comment;
        EXPECT_EQ(workFileOf(c.text, o), c.work) << c.text;
    }
}

TEST_F(SendPreparationTest, EiaRefusesACharacterWithoutCodeAndKeepsTheOldWorkFile) {
    folder.write("work", "previous");
    const std::string source = folder.write("PROG.TAP", "%\nO1000\r\nN10 G1 X1 {PART}\r\n");
    try {
        buildWorkFile(source, folder.file("work"), in(TapeCode::Eia), "PROG.TAP");
        FAIL() << "no error";
    } catch (const TapeCodeError& e) {
        EXPECT_STREQ(e.what(), "PROG.TAP, line 3, column 11: \"{\" (0x7B) has no EIA code");
    }
    EXPECT_EQ(folder.read("work"), "previous");
    // A dropped comment line may hold anything, and the line count still
    // counts it.
    folder.write("PROG.TAP", "<{comment}\nG1 X1\nG2_\n");
    try {
        buildWorkFile(source, folder.file("work"), in(TapeCode::Eia), "PROG.TAP");
        FAIL() << "no error";
    } catch (const TapeCodeError& e) {
        EXPECT_STREQ(e.what(), "PROG.TAP, line 3, column 3: \"_\" (0x5F) has no EIA code");
    }
    folder.write("PROG.TAP", "<{comment}\r\n\n\nG1 X1\r\n");
    TapeOptions filtered = in(TapeCode::Eia);
    filtered.FilterLineFeeds = true;
    buildWorkFile(source, folder.file("work"), filtered, "PROG.TAP");
    EXPECT_EQ(folder.read("work"), "\x67\x01\x10\x37\x01\x80");
}

TEST_F(SendPreparationTest, LongLinesAndBigFilesStreamThrough) {
    std::string line(200000, 'X');
    std::string text;
    for (int i = 0; i < 50; ++i) text += line + "\n";
    const std::string work = workFileOf(text, in(TapeCode::Ascii));
    ASSERT_EQ(work.size(), 50 * (line.size() + 2));
    EXPECT_EQ(work.substr(line.size(), 2), "\x8D\n");
    EXPECT_EQ(uint8_t(work[0]), addEvenParity('X'));
}

TEST_F(SendPreparationTest, StartAndEndStringsWithEscapes) {
    struct Case {
        std::string text;
        TapeCode code;
        std::string bytes;
    };
    const Case cases[] = {
        {"%", TapeCode::Eia, "\x0B"},
        {"%", TapeCode::Iso, "%"},
        {"/027%", TapeCode::Eia, std::string("\x1B\x0B")},  // escapes are not converted
        {"/$1B/-01", TapeCode::Iso, "\x1B\xFF"},              // negative values modulo 256
        {"/300A", TapeCode::Ascii, "\x2C" "A"},               // 300 modulo 256
        {"%/037", TapeCode::Ascii, "\xA5\x25"},              // characters get their parity
        {"/XYZA", TapeCode::Iso, "A"},                        // not a number: dropped
        {"A/12", TapeCode::Iso, "A12"},                       // too short: the "/" goes
        {"/  7", TapeCode::Iso, "\x07"},
        {"", TapeCode::Eia, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writeStringWithEscapes(c.text, c.code, "The start string"), c.bytes) << c.text;
    try {
        writeStringWithEscapes("/0271{", TapeCode::Eia, "The start string");
        FAIL() << "no error";
    } catch (const TapeCodeError& e) {
        EXPECT_STREQ(e.what(), "The start string, column 6: \"{\" (0x7B) has no EIA code");
    }
}

TEST_F(SendPreparationTest, SendFileWrapsTheBodyInStringsAndLeader) {
    TapeOptions o = in(TapeCode::Eia);
    o.StartSend = "%";
    o.EndSend = "/020M30";
    o.LeaderLen = 2;
    const std::string body = folder.write("body", "\x01\x80");
    prepareSendFile(body, folder.file("send"), o);
    const std::string leader(21, '\0');
    EXPECT_EQ(folder.read("send"), "\x0B" + leader + "\x01\x80" + leader + "\x14\x54\x13\x20");

    o.LeaderLen = 0;
    o.StartSend = o.EndSend = "";
    folder.write("body", "");
    prepareSendFile(body, folder.file("send"), o);
    EXPECT_EQ(folder.read("send"), "");
}

TEST_F(SendPreparationTest, FailuresLeaveTheSendFileAsItWas) {
    folder.write("send", "old");
    TapeOptions o = in(TapeCode::Eia);
    o.EndSend = "<END>";
    const std::string body = folder.write("body", "\x01\x80");
    EXPECT_THROW(prepareSendFile(body, folder.file("send"), o), TapeCodeError);
    EXPECT_EQ(folder.read("send"), "old");
    o.EndSend = "";
    try {
        prepareSendFile(folder.file("missing"), folder.file("send"), o);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.errorNumber(), ENOENT);
    }
    EXPECT_EQ(folder.read("send"), "old");
    EXPECT_THROW(prepareSendFile(body, folder.file("no/such/folder/send"), o), FileError);
}

TEST_F(SendPreparationTest, DiskFilePreparedThroughItsWorkFile) {
    TapeOptions o = in(TapeCode::Ascii);
    o.StartSend = "%";
    o.LeaderLen = 1;
    const std::string source = folder.write("PROG.TAP", "<skip\r\nG1\r\n");
    prepareDiskFile(source, folder.file("work"), folder.file("send"), o);
    EXPECT_EQ(folder.read("work"), "\x47\xB1\x8D\x0A");
    const std::string leader(11, '\0');
    EXPECT_EQ(folder.read("send"), "\xA5" + leader + "\x47\xB1\x8D\x0A" + leader);
}

TEST_F(SendPreparationTest, WorkFilesLiveAsLongAsTheirOwner) {
    std::string send, work;
    {
        WorkFiles files(folder.path() + "temp");
        send = files.SendFile();
        work = files.WorkFile();
        EXPECT_NE(send, work);
        for (const std::string& f : {send, work}) {
            EXPECT_TRUE(fileExists(f));
            EXPECT_EQ(std::filesystem::file_size(f), 0u);
            const std::string name = std::filesystem::path(f).filename();
            EXPECT_TRUE(name.starts_with("ZTR") && name.ends_with(".TMP")) << name;
            EXPECT_EQ(std::filesystem::path(f).parent_path(), folder.path() + "temp");
        }
    }
    EXPECT_FALSE(fileExists(send));
    EXPECT_FALSE(fileExists(work));
    folder.write("file", "");
    EXPECT_THROW(WorkFiles(folder.file("file")), FileError);
}

}  // namespace
}  // namespace zantor
