#include "dnc/direct_transfer.h"

#include <gtest/gtest.h>

#include "activity_log_lines.h"
#include "core/file_io.h"
#include "core/folders.h"
#include "scripted_interaction.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

class DirectTransferTest : public ::testing::Test {
protected:
    DirectTransferTest() {
        log.LoggingEnabled = true;
        makeFolders(folder.path() + "from");
        makeFolders(folder.path() + "to");
    }
    std::vector<std::string> logLines() const {
        return testing::activityLogLines(folder.path() + "ZTRDNC.LOG");
    }

    testing::TempFolder folder;
    ActivityLog log{folder.path() + "ZTRDNC.LOG"};
    testing::ScriptedInteraction ui;
    DirectTransfer transfer{log, ui};
};

TEST_F(DirectTransferTest, CopiesFromTheLastFileToTheFirstAskingBeforeReplacing) {
    const std::string a = folder.write("from/A.TAP", "A new");
    const std::string b = folder.write("from/B.TAP", "B new");
    const std::string c = folder.write("from/C.TAP", "C new");
    folder.write("to/B.TAP", "B old");
    folder.write("to/A.TAP", "A old");
    ui.answers = {Answer::No, Answer::Yes};  // keep B, replace A
    EXPECT_EQ(transfer.copyFiles({a, b, c}, folder.path() + "to", "Send"), 2u);
    EXPECT_EQ(folder.read("to/C.TAP"), "C new");
    EXPECT_EQ(folder.read("to/B.TAP"), "B old");
    EXPECT_EQ(folder.read("to/A.TAP"), "A new");
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Do you really want to overwrite B.TAP?",
                                                    "Do you really want to overwrite A.TAP?"}));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"DNC Direct File Transfer Send [" + c + "]",
                                                    "DNC Direct File Transfer Send [" + b + "]",
                                                    "DNC Direct File Transfer Send [" + a + "]"}));

    // Cancel at a question stops the rest.
    ui.messages.clear();
    ui.answers = {Answer::Cancel};
    EXPECT_EQ(transfer.copyFiles({a, c}, folder.path() + "to", "Receive"), 0u);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Do you really want to overwrite C.TAP?"});
    EXPECT_EQ(logLines().back(), "DNC Direct File Transfer Receive [" + c + "]");
}

TEST_F(DirectTransferTest, NeverCopiesAFileOntoItself) {
    const std::string a = folder.write("from/A.TAP", "G1\r\n");
    EXPECT_EQ(transfer.copyFiles({a}, folder.path() + "from", "Receive"), 0u);
    EXPECT_EQ(folder.read("from/A.TAP"), "G1\r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].text, "[" + folder.path() + "from/A.TAP] is the file being "
                                    "transferred itself; it was not copied. Choose another "
                                    "destination folder.");
}

TEST_F(DirectTransferTest, APreparedProgramGoesUnderItsOwnName) {
    const std::string source = folder.write("from/O100.TAP", "G1\r\n");
    const std::string sendFile = folder.write("ZTR1.TMP", "%\r\nG1\r\n%");
    EXPECT_TRUE(transfer.sendPrepared(sendFile, source, folder.path() + "to"));
    EXPECT_EQ(folder.read("to/O100.TAP"), "%\r\nG1\r\n%");
    EXPECT_EQ(folder.read("ZTR1.TMP"), "%\r\nG1\r\n%");  // the send file stays
    EXPECT_EQ(logLines(),
              std::vector<std::string>{"DNC Direct File Transfer Send [" + source + "]"});

    // An editor text without a file name goes as NONE.
    EXPECT_TRUE(transfer.sendPrepared(sendFile, "", folder.path() + "to"));
    EXPECT_EQ(folder.read("to/NONE"), "%\r\nG1\r\n%");

    // The upload folder is the program's own: the program is not replaced
    // by its tape, nothing is logged.
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(transfer.sendPrepared(sendFile, source, folder.path() + "from"));
    EXPECT_EQ(folder.read("from/O100.TAP"), "G1\r\n");
    EXPECT_EQ(logLines().size(), 2u);
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
}

}  // namespace
}  // namespace zantor
