#include "dnc/remote_request.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "machines/machine_settings.h"
#include "temp_folder.h"

namespace zantor {
namespace {

class RemoteRequestTest : public ::testing::Test {
protected:
    testing::TempFolder shop;
    MachineFormat machine;
    std::string download, upload;

    RemoteRequestTest() {
        download = shop.path() + "nc/";
        upload = shop.path() + "in/";
        std::filesystem::create_directories(download + "jobs");
        std::filesystem::create_directories(upload);
        machine.DownloadFolder = download;
        machine.UploadFolder = upload;
        machine.DefaultExt = "TAP";
    }
    RemoteTarget target(RemoteRequest request, const std::string& argument,
                        const std::string& remotePath = "") {
        return remoteTargetPath(machine, remotePath, request, argument);
    }
};

TEST_F(RemoteRequestTest, TargetsLieInTheRequestsFolderWithTheDefaultExtension) {
    EXPECT_EQ(target(RemoteRequest::Send, "PROG1").path, download + "PROG1.TAP");
    EXPECT_EQ(target(RemoteRequest::Receive, "NEW").path, upload + "NEW.TAP");
    EXPECT_EQ(target(RemoteRequest::Send, "A.NC").path, download + "A.NC");
    EXPECT_EQ(target(RemoteRequest::Directory, "*").path, download + "*");
    // A path request's folder, relative to the request's own folder.
    EXPECT_EQ(target(RemoteRequest::Send, "A1", "jobs\\").path, download + "jobs/A1.TAP");
    EXPECT_FALSE(target(RemoteRequest::Send, "A1", "jobs\\").refused);
}

TEST_F(RemoteRequestTest, AFolderWithADotStillGetsTheExtensionForAPlainName) {
    machine.DownloadFolder = shop.path() + "shop.2/";
    std::filesystem::create_directories(machine.DownloadFolder);
    EXPECT_EQ(target(RemoteRequest::Send, "PROG1").path, shop.path() + "shop.2/PROG1.TAP");
}

TEST_F(RemoteRequestTest, ArgumentsThatWouldLeaveTheFolderAreRefused) {
    for (const char* argument : {"../PROG1", "..\\PROG1", "/etc/passwd", "a/b", "..", ".", ""})
        EXPECT_TRUE(target(RemoteRequest::Send, argument).refused) << argument;
    EXPECT_TRUE(target(RemoteRequest::Receive, "X", "/tmp").refused);
    EXPECT_FALSE(target(RemoteRequest::Send, "PROG..1").refused);
}

TEST_F(RemoteRequestTest, PathRequestsStayAmongTheMachinesOwnFolders) {
    EXPECT_TRUE(remotePathAccepted(machine, "jobs"));
    EXPECT_TRUE(remotePathAccepted(machine, download + "jobs\\"));
    EXPECT_TRUE(remotePathAccepted(machine, upload));
    EXPECT_FALSE(remotePathAccepted(machine, "missing"));
    EXPECT_FALSE(remotePathAccepted(machine, "jobs/../.."));
    EXPECT_FALSE(remotePathAccepted(machine, "/etc"));
    EXPECT_FALSE(remotePathAccepted(machine, shop.path()));
}

TEST_F(RemoteRequestTest, ArgumentsLoseBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(requestArgument(" \x01\tPROG1 \r"), "PROG1");
    EXPECT_EQ(requestArgument("A B"), "A B");
    EXPECT_EQ(requestArgument(""), "");
}

TEST_F(RemoteRequestTest, RequestBytesAreReadInTheMachinesTapeCode) {
    // "(SND A)" with even parity: "(" 0x28 stays, ")" 0x29 arrives as 0xA9.
    EXPECT_EQ(requestTextFromLine("\x28S\xCE\x44 \xC1\xA9", TapeCode::Ascii, true), "(SND A)");
    EXPECT_EQ(requestTextFromLine("\xA9", TapeCode::Iso, false), "\xA9");
    std::string eia;
    for (const char c : std::string("SND A1")) eia += char(encodeEia(uint8_t(c)));
    eia += char(0x80);
    EXPECT_EQ(requestTextFromLine(eia, TapeCode::Eia, false), "SND A1\r");
}

TEST_F(RemoteRequestTest, DirectoryListingIsAnNcProgramOfTheMatchingFiles) {
    shop.write("nc/B.TAP", std::string(35, 'x'));
    shop.write("nc/a.tap", std::string(1200, 'x'));
    shop.write("nc/C.NC", "x");
    const auto entries = matchingEntries(download, "*.TAP");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(directoryListingLines(entries, "(", ")"),
              (std::vector<std::string>{"\r\n", "%\r\n", "O7000\r\n", "(B.TAP   35 Chrs)\r\n",
                                        "(a.tap   1200 Chrs)\r\n", "M30\r\n", "%\r\n"}));
    EXPECT_EQ(directoryListingLines(matchingEntries(download, "*.XYZ"), "(", ")"),
              (std::vector<std::string>{"\r\n", "%\r\n", "O7000\r\n", "(No Files Found?)\r\n",
                                        "M30\r\n", "%\r\n"}));
}

TEST(FileMask, StarAndQuestionMarkWithoutRegardToCase) {
    struct Case {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {{"*.TAP", "prog1.tap", true}, {"*.TAP", "prog1.tapx", false},
                 {"P?OG*", "PROG1.TAP", true}, {"*", ".hidden", true},
                 {"*A*B", "xxAyyB", true},     {"*A*B", "xxAyyBz", false},
                 {"", "", true},               {"?", "", false}};
    for (const Case& c : cases) EXPECT_EQ(maskMatches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
}

}  // namespace
}  // namespace zantor
