#include "dnc/send_selection.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/file_io.h"
#include "editor/nc_document.h"
#include "nctools/file_cleanup.h"
#include "scripted_interaction.h"
#include "session/run_state.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::NcDocument;

class SendSelectionTest : public ::testing::Test {
protected:
    SendSelectionTest() {
        state.SendFile = folder.write("ZTR1.TMP", "OLD SEND FILE");
        state.WorkFile = folder.write("ZTR2.TMP", "");
        state.CurrentSettings.Comm.TapeCode = kTapeIso;
        state.CurrentSettings.Comm.StartSend = "%";
        state.CurrentSettings.Comm.EndSend = "/031";
        state.CurrentSettings.Comm.ForceDownloadDir = 0;
        state.CurrentSettings.Format.DownloadFolder = folder.path() + "download";
        doc.InsertText("N1\tX1 (A)\r\nN2\r\nN3\r\nN4\r\nN5");
        doc.SetFileName("/shop/PART.TAP");
    }
    std::string sendFile() const { return readFileBytes(state.SendFile); }
    static std::string wrapped(const std::string& body) { return "%" + body + "\x1f"; }

    testing::TempFolder folder;
    testing::ScriptedInteraction ui;
    RunState state;
    NcDocument doc;
    bool editorOpen = true;
    SendPreparation preparation{state, ui, [this] { return editorOpen ? &doc : nullptr; }};
};

TEST_F(SendSelectionTest, EditorModesSendTheirWholeLines) {
    struct Case {
        const char* what;
        SendMode mode;
        std::function<void(NcDocument&)> setUp;
        std::string body;
    };
    const Case cases[] = {
        {"current file", SendMode::CurrentEditorFile, [](NcDocument&) {},
         "N1      X1 (A)\r\nN2\r\nN3\r\nN4\r\nN5\r\n"},
        {"selection from mid line 3 to the start of line 5", SendMode::SelectedEditorText,
         [](NcDocument& d) {
             d.SetSelection({3, 2}, {5, 1});
         },
         "N3\r\nN4\r\nN5\r\n"},
        {"from the cursor", SendMode::FromCursorToEnd, [](NcDocument& d) { d.SetCaret(4, 2); },
         "N4\r\nN5\r\n"},
    };
    for (const Case& c : cases) {
        c.setUp(doc);
        EXPECT_TRUE(preparation.prepareForSend(c.mode)) << c.what;
        EXPECT_EQ(sendFile(), wrapped(c.body)) << c.what;
        EXPECT_EQ(preparation.SentName(), "/shop/PART.TAP");
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SendSelectionTest, NothingToSendFromTheEditorGivesFalseQuietly) {
    EXPECT_FALSE(preparation.prepareForSend(SendMode::SelectedEditorText)) << "no selection";
    editorOpen = false;
    for (const SendMode mode :
         {SendMode::CurrentEditorFile, SendMode::SelectedEditorText, SendMode::FromCursorToEnd})
        EXPECT_FALSE(preparation.prepareForSend(mode));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(sendFile(), "") << "the old send file is never sent again";
}

TEST_F(SendSelectionTest, DiskFilesOneOrSeveral) {
    const std::string one = folder.write("O1.TAP", "G1\n<NOT SENT\nM30\n");
    ui.openedFiles.push_back({one});
    ASSERT_TRUE(preparation.prepareForSend(SendMode::FromDiskFile));
    EXPECT_EQ(sendFile(), wrapped("G1\r\nM30\r\n"));
    EXPECT_EQ(preparation.SentName(), one);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.filter, "Tape files (*.TAP);;Text Files (*.txt);;All files (*)");
    EXPECT_EQ(request.defaultSuffix, "TAP");
    EXPECT_TRUE(request.multiple);

    ui.openedFiles.push_back({one, folder.write("O2.TAP", "G2\n"), folder.write("O3.TAP", "")});
    ASSERT_TRUE(preparation.prepareForSend(SendMode::FromDiskFile));
    EXPECT_EQ(preparation.chosenFiles().size(), 3u);
    EXPECT_EQ(sendFile(), "");
    EXPECT_EQ(preparation.SentName(), one) << "unchanged";

    ui.openedFiles.push_back({});  // Cancel
    EXPECT_FALSE(preparation.prepareForSend(SendMode::FromDiskFile));
    EXPECT_TRUE(preparation.chosenFiles().empty());
}

TEST_F(SendSelectionTest, TheFirstDiskDialogAfterALoadOpensInTheDownloadFolder) {
    struct Case {
        bool fresh;
        int alwaysFirst;
        bool inDownloadFolder;
    };
    const Case cases[] = {{true, 0, true}, {false, 0, false}, {false, 1, true}, {true, 1, true}};
    for (const Case& c : cases) {
        state.Folders.DownloadFolderFresh = c.fresh;
        state.CurrentSettings.Comm.ForceDownloadDir = c.alwaysFirst;
        ui.openedFiles.push_back({});
        preparation.prepareForSend(SendMode::FromDiskFile);
        const std::string folderAsked = ui.fileRequests.back().folder;
        EXPECT_EQ(folderAsked.starts_with(folder.path() + "download"), c.inDownloadFolder)
            << c.fresh << c.alwaysFirst << ": " << folderAsked;
        EXPECT_EQ(folderAsked.empty(), !c.inDownloadFolder);
        EXPECT_FALSE(state.Folders.DownloadFolderFresh);
    }
}

TEST_F(SendSelectionTest, ANamedFileIsSentAsStoredAndGetsItsWorkFile) {
    const std::string file = folder.write("O9.TAP", "G1\nM30\n");
    ASSERT_TRUE(preparation.prepareForSend(SendMode::NamedFile, file));
    EXPECT_EQ(sendFile(), wrapped("G1\nM30\n"));
    EXPECT_EQ(readFileBytes(state.WorkFile), "G1\r\nM30\r\n");
    EXPECT_EQ(preparation.SentName(), file);
}

TEST_F(SendSelectionTest, AFileErrorIsShownAndNothingIsReady) {
    const std::string missing = folder.file("NONE.TAP");
    EXPECT_FALSE(preparation.prepareForSend(SendMode::NamedFile, missing));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{missing + ": No such file or directory"});
    EXPECT_EQ(sendFile(), "");
}

TEST_F(SendSelectionTest, CleanupBeforeSendFromTheEditorWhenTheMachineAsks) {
    struct Case {
        const char* what;
        bool machineAsks;
        SendMode mode;
        bool cleanupCompletes;
        bool ready;
        bool cleaned;
    };
    const Case cases[] = {
        {"asked", true, SendMode::CurrentEditorFile, true, true, true},
        {"not asked", false, SendMode::CurrentEditorFile, true, true, false},
        {"only for the whole file", true, SendMode::FromCursorToEnd, true, true, false},
        {"cancelled", true, SendMode::CurrentEditorFile, false, false, true},
    };
    for (const Case& c : cases) {
        NcDocument program;
        program.InsertText("JUNK\r\n%\r\nG1 (A)\r\n\r\nM30");
        SendPreparation send(state, ui, [&] { return &program; });
        state.CurrentSettings.Format.CleanupBeforeSend = c.machineAsks;
        send.cleanupBeforeSend = [&](editor::TextDocument& document) {
            NoProgress progress;
            RunFileCleanup(document, progress, {true, false, true, true, false, false}, {});
            return c.cleanupCompletes;
        };
        program.SetCaret(5, 1);
        EXPECT_EQ(send.accept(c.mode), c.ready) << c.what;
        const std::string cleanedText = "%\r\nG1\r\nM30";
        EXPECT_EQ(program.GetParagraph(1) == "%", c.cleaned) << c.what;
        if (c.ready && c.cleaned) {
            EXPECT_EQ(sendFile(), wrapped(cleanedText + "\r\n")) << c.what;
        } else if (!c.ready) {
            EXPECT_EQ(sendFile(), "") << c.what;
        }
    }
}

}  // namespace
}  // namespace zantor
