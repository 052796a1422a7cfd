#include "session/file_commands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/file_io.h"
#include "core/text_util.h"
#include "scripted_interaction.h"
#include "session/app_session.h"
#include "temp_folder.h"
#include "users/user_record.h"

namespace zantor {
namespace {

using Names = std::vector<std::string>;

struct FakeWindow : FileCommandWindow {
    std::string name;
    bool modified = false;
    bool linesCut = false;
    int failWith = 0;  // errno the next save fails with
    Names savedAs;

    std::string caption() const override { return name; }
    void rename(const std::string& fileName) override { name = fileName; }
    bool isModified() const override { return modified; }
    bool linesCutAtLoading() const override { return linesCut; }
    void saveDocument(const std::string& fileName) override {
        if (failWith) throw FileError(fileName, failWith);
        savedAs.push_back(fileName);
        modified = false;
        linesCut = false;
    }
};

struct FakeWindows : EditorWindowList {
    std::vector<std::unique_ptr<FakeWindow>> windows;
    FakeWindow* active = nullptr;
    std::vector<std::pair<std::string, bool>> opened;
    Names broughtToFront;

    FileCommandWindow* activeWindow() override { return active; }
    FileCommandWindow* findWindow(const std::string& caption) override {
        for (auto& w : windows)
            if (w->name == caption) return w.get();
        return nullptr;
    }
    void bringToFront(FileCommandWindow& window) override {
        active = static_cast<FakeWindow*>(&window);
        broughtToFront.push_back(window.caption());
    }
    void openWindow(const std::string& name, bool load) override {
        opened.emplace_back(name, load);
        windows.push_back(std::make_unique<FakeWindow>());
        windows.back()->name = name;
        active = windows.back().get();
    }
    Names captions() const {
        Names out;
        for (const auto& w : windows) out.push_back(w->name);
        return out;
    }
    void close(FakeWindow* window, FileCommands& commands) {
        const std::string caption = window->name;
        std::erase_if(windows, [&](const auto& w) { return w.get() == window; });
        if (active == window) active = windows.empty() ? nullptr : windows.back().get();
        commands.windowClosed(caption);
    }
};

TEST(NoNameNumbers, TakesTheLowestFreeNumberAndRunsOutAfter255) {
    NoNameNumbers numbers;
    EXPECT_EQ(numbers.take(), 1);
    EXPECT_EQ(numbers.take(), 2);
    EXPECT_EQ(numbers.take(), 3);
    numbers.release(2);
    EXPECT_EQ(numbers.take(), 2);
    for (int n = 4; n <= 255; ++n) ASSERT_EQ(numbers.take(), n);
    EXPECT_EQ(numbers.take(), std::nullopt);
    numbers.release(200);
    EXPECT_EQ(numbers.take(), 200);
}

TEST(NoNameNumbers, ReadsTheNumberOnlyFromNewDocumentNames) {
    EXPECT_EQ(noNameNumber("NONAME4"), 4);
    EXPECT_EQ(noNameNumber("NONAME255"), 255);
    EXPECT_EQ(noNameNumber("/nc/NONAME4"), std::nullopt);
    EXPECT_EQ(noNameNumber("noname4"), std::nullopt);
    EXPECT_TRUE(isNoName("NONAMEX"));
    EXPECT_EQ(noNameNumber("NONAMEX"), std::nullopt);
}

TEST(RecentFileList, AddingMovesToTheFrontKeepsSixAndDropsTheOldest) {
    RecentFiles files{};
    AddRecentFile(files, "A");
    AddRecentFile(files, "B");
    AddRecentFile(files, "A");
    EXPECT_EQ(files, (RecentFiles{"A", "B", "", "", "", ""}));
    for (const char* name : {"C", "D", "E", "F", "G"}) AddRecentFile(files, name);
    EXPECT_EQ(files, (RecentFiles{"G", "F", "E", "D", "C", "A"}));
    AddRecentFile(files, "D");
    EXPECT_EQ(files, (RecentFiles{"D", "G", "F", "E", "C", "A"}));
    files = {"X", "X", "Y", "X", "", ""};
    AddRecentFile(files, "X");
    EXPECT_EQ(files, (RecentFiles{"X", "Y", "", "", "", ""}));
    EXPECT_EQ(recentFileCaption(0, "/nc/a.tap"), "&1 /nc/a.tap");
    EXPECT_EQ(recentFileCaption(5, "b"), "&6 b");
    // An ampersand in a name shows as itself, not as a shortcut marker.
    EXPECT_EQ(recentFileCaption(1, "/nc/R&D.tap"), "&2 /nc/R&&D.tap");
}

TEST(FolderText, TrailingSeparatorsDoNotMatter) {
    EXPECT_TRUE(sameFolderText("/home/nc/", "/home/nc"));
    EXPECT_TRUE(sameFolderText("/home/nc\\", "/home/nc"));
    EXPECT_FALSE(sameFolderText("/home/nc", "/home/NC"));
    EXPECT_FALSE(sameFolderText("/home/nc/sub", "/home/nc"));
}

class FileCommandsTest : public ::testing::Test {
protected:
    testing::TempFolder dir;
    testing::ScriptedInteraction ui;
    std::unique_ptr<AppSession> session;
    FakeWindows windows;
    std::unique_ptr<FileCommands> commands;
    int menuRefreshes = 0;

    void SetUp() override {
        session = std::make_unique<AppSession>(dir.path(), dir.path(), ui);
        session->log.LoggingEnabled = true;
        session->state.CurrentSettings.Format.LoadSaveFolder = dir.path();
        commands = std::make_unique<FileCommands>(*session, ui, windows);
        commands->recentFilesChanged = [this] { ++menuRefreshes; };
    }
    // Security on with only the given privileges.
    void grant(const std::vector<int>& privileges) {
        session->state.Settings.UseSecure = true;
        session->security.CurrentRights = 0;
        for (int p : privileges) session->security.CurrentRights |= 1 << p;
    }
    // The event texts of the activity log, without the time stamps.
    Names logLines() const {
        Names lines;
        if (!fileExists(session->log.logFile())) return lines;
        const std::string text = readFileBytes(session->log.logFile());
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // "mm/dd/yyyy,hh:mm:ss,text"
            const size_t second = line.find(',', line.find(',') + 1);
            lines.push_back(line.substr(second + 1));
            start = end + 1;
        }
        return lines;
    }
    FakeWindow& newWindow() {
        commands->newFile();
        return *windows.active;
    }
};

TEST_F(FileCommandsTest, NewNamesDocumentsWithTheLowestFreeNumber) {
    newWindow();
    FakeWindow& second = newWindow();
    newWindow();
    windows.close(&second, *commands);
    newWindow();
    EXPECT_EQ(windows.captions(), (Names{"NONAME1", "NONAME3", "NONAME2"}));
    EXPECT_EQ(windows.opened.front(), std::make_pair(std::string("NONAME1"), false));
    EXPECT_EQ(logLines(), (Names(4, "New File Created")));
}

TEST_F(FileCommandsTest, NewWithAllNumbersInUseSaysSoAndOpensNothing) {
    for (int n = 1; n <= kMaxNoNameNumber; ++n) commands->newFile();
    ASSERT_EQ(windows.windows.back()->name, "NONAME255");
    commands->newFile();
    EXPECT_EQ(windows.windows.size(), 255u);
    EXPECT_EQ(ui.texts(), (Names{kNoNameNumbersExhausted}));
}

TEST_F(FileCommandsTest, RefusedPrivilegesTellTheUserLogAndChangeNothing) {
    struct Case {
        std::function<void(FileCommands&)> run;
        std::string failureLine;
    };
    const std::vector<Case> cases = {
        {[](FileCommands& c) { c.newFile(); }, "Failed Attempt to Create New File"},
        {[](FileCommands& c) { c.openFiles(); }, "Failed Attempt to Open a File"},
        {[](FileCommands& c) { c.openRecentFile(0); }, "Failed Attempt to Open a File"},
        {[](FileCommands& c) { c.save(); }, "Failed Attempt to Save a File"},
        {[](FileCommands& c) { c.saveAs(); }, "Failed Attempt to Save(as) a File"},
    };
    windows.openWindow("/nc/a.tap", false);
    windows.opened.clear();
    session->recentFiles[0] = "/nc/b.tap";
    grant({kPrivOverwriteFiles, kPrivChangeFolders});
    for (const Case& c : cases) {
        std::filesystem::remove(session->log.logFile());
        ui.messages.clear();
        c.run(*commands);
        EXPECT_EQ(ui.texts(), (Names{"Insufficient Priviliges for this Function"}));
        EXPECT_EQ(logLines(), (Names{"Failed Attempt to Edit Files", c.failureLine}));
    }
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(windows.windows.front()->savedAs.empty());
}

TEST_F(FileCommandsTest, OpenActivatesOpenWindowsOpensTheRestAndRemembersThem) {
    const std::string a = dir.write("a.tap", "G1\r\n"), b = dir.write("b.tap", ""),
                      c = dir.write("c.tap", "");
    windows.openWindow(a, true);
    windows.opened.clear();
    windows.openWindow("NONAME1", false);
    windows.opened.clear();
    ui.openedFiles.push_back({a, b, c});
    commands->openFiles();
    EXPECT_EQ(windows.broughtToFront, (Names{a}));
    EXPECT_EQ(windows.opened, (std::vector<std::pair<std::string, bool>>{{b, true}, {c, true}}));
    EXPECT_EQ(logLines(), (Names{"Open File [" + b + "]", "Open File [" + c + "]"}));
    EXPECT_EQ(session->recentFiles, (RecentFiles{c, b, "", "", "", ""}));
    EXPECT_EQ(menuRefreshes, 2);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = ui.fileRequests[0];
    EXPECT_TRUE(request.multiple);
    EXPECT_EQ(request.defaultSuffix, "TAP");
    EXPECT_EQ(request.filter, "NC-Code files (*.TAP *.tap);;Text Files (*.txt);;All files (*)");
    EXPECT_TRUE(request.fileName.empty());
}

TEST_F(FileCommandsTest, OpenAsksToCreateANameThatIsNoFileYet) {
    const std::string a = dir.write("a.tap", "G1\r\n");
    const std::string fresh = dir.file("NEW.TAP"), declined = dir.file("NOT.TAP");
    ui.openedFiles.push_back({fresh, a, declined});
    ui.answers = {Answer::Yes, Answer::No};
    commands->openFiles();
    EXPECT_EQ(ui.texts(), (Names{createFileQuestion(fresh), createFileQuestion(declined)}));
    EXPECT_EQ(createFileQuestion(fresh),
              fresh + "\r\nThis file does not exist.\r\nDo you want to create it?");
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
    // The new name opens empty, without reading a file that is not there.
    EXPECT_EQ(windows.opened,
              (std::vector<std::pair<std::string, bool>>{{fresh, false}, {a, true}}));
    EXPECT_EQ(logLines(), (Names{"Open File [" + fresh + "]", "Open File [" + a + "]"}));
    EXPECT_EQ(session->recentFiles, (RecentFiles{a, fresh, "", "", "", ""}));
    EXPECT_FALSE(fileExists(fresh));
    // Once open, the name is found again without a question.
    ui.messages.clear();
    ui.openedFiles.push_back({fresh});
    commands->openFiles();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(windows.broughtToFront, (Names{fresh}));
}

TEST_F(FileCommandsTest, SavingOverAFileWithCutLinesAsksOnceAndNoGoesToSaveAs) {
    const std::string cut = dir.write("cut.tap", "long");
    windows.openWindow(cut, true);
    FakeWindow& window = *windows.active;
    window.linesCut = true;
    const std::string other = dir.file("other.tap");
    ui.answers.push_back(Answer::No);
    ui.savedFiles.push_back(other);
    EXPECT_EQ(commands->save(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(ui.texts(), (Names{replaceCutFileQuestion(cut)}));
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(window.savedAs, (Names{other}));
    EXPECT_EQ(dir.read("cut.tap"), "long");

    // Yes replaces the file; the next save asks no more.
    windows.openWindow(cut, true);
    FakeWindow& again = *windows.active;
    again.linesCut = true;
    ui.messages.clear();
    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(commands->save(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(commands->save(), FileCommands::SaveResult::Saved);
    EXPECT_EQ(ui.texts(), (Names{replaceCutFileQuestion(cut)}));
    EXPECT_EQ(again.savedAs, (Names{cut, cut}));
    EXPECT_TRUE(ui.fileRequests.size() == 1u);
}

TEST_F(FileCommandsTest, OnlyTheFirstDialogStartsInTheMachineFolderUnlessAlwaysFirst) {
    session->state.CurrentSettings.Comm.ForceLoadSaveDir = 0;
    commands->openFiles();
    commands->saveAs();  // no window: no dialog
    windows.openWindow("NONAME1", false);
    commands->saveAs();
    commands->openFiles();
    ASSERT_EQ(ui.fileRequests.size(), 3u);
    EXPECT_TRUE(sameFolderText(ui.fileRequests[0].folder, dir.path()));
    EXPECT_EQ(ui.fileRequests[1].folder, "");
    EXPECT_EQ(ui.fileRequests[2].folder, "");
    session->state.CurrentSettings.Comm.ForceLoadSaveDir = 1;
    commands->openFiles();
    EXPECT_TRUE(sameFolderText(ui.fileRequests[3].folder, dir.path()));
}

TEST_F(FileCommandsTest, RecentItemsOpenOrActivateWithoutReordering) {
    const std::string a = dir.write("a.tap", ""), b = dir.write("b.tap", "");
    session->recentFiles = {a, b, "", "", "", ""};
    commands->openRecentFile(1);
    commands->openRecentFile(1);
    commands->openRecentFile(2);
    EXPECT_EQ(windows.opened, (std::vector<std::pair<std::string, bool>>{{b, true}}));
    EXPECT_EQ(windows.broughtToFront, (Names{b}));
    EXPECT_EQ(session->recentFiles, (RecentFiles{a, b, "", "", "", ""}));
    EXPECT_EQ(logLines(), (Names{"Open File [" + b + "]"}));
}

TEST_F(FileCommandsTest, SaveWritesNamedDocumentsAndSendsNewOnesToSaveAs) {
    const std::string a = dir.write("a.tap", "old");
    windows.openWindow(a, true);
    commands->save();
    EXPECT_EQ(windows.active->savedAs, (Names{a}));
    EXPECT_EQ(logLines(), (Names{"Save File [" + a + "]"}));
    EXPECT_EQ(session->recentFiles[0], a);

    FakeWindow& fresh = newWindow();
    commands->save();  // the dialog is cancelled
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save NONAME1 As");
    EXPECT_TRUE(fresh.savedAs.empty());
}

TEST_F(FileCommandsTest, SavingTheResultsWindowAsksForAName) {
    windows.openWindow(kResultsWindowTitle, false);
    const std::string report = dir.file("REPORT.TXT");
    ui.savedFiles.push_back(report);
    EXPECT_EQ(commands->save(), FileCommands::SaveResult::Saved);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Zantor Results As");
    EXPECT_EQ(windows.active->savedAs, (Names{report}));
}

TEST_F(FileCommandsTest, SaveWithoutOverwriteRightGoesToSaveAs) {
    const std::string a = dir.write("a.tap", "old");
    windows.openWindow(a, true);
    grant({kPrivEditFiles, kPrivChangeFolders});
    const std::string other = dir.file("other.tap");
    ui.savedFiles.push_back(other);
    commands->save();
    EXPECT_EQ(ui.texts(), (Names{"Insufficient Priviliges for this Function"}));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save a.tap As");
    EXPECT_EQ(ui.fileRequests[0].fileName, a);
    EXPECT_EQ(windows.active->savedAs, (Names{other}));
    EXPECT_EQ(windows.active->name, other);
    EXPECT_EQ(logLines(), (Names{"Failed Attempt to Overwrite File", "Save File [" + other + "]"}));
}

TEST_F(FileCommandsTest, SaveAsFreesTheNewDocumentNumberAndRenamesTheWindow) {
    newWindow();
    newWindow();
    newWindow();
    FakeWindow& fourth = newWindow();
    const std::string part = dir.file("PART.TAP");
    ui.savedFiles.push_back(part);
    commands->saveAs(&fourth);
    EXPECT_EQ(fourth.name, part);
    EXPECT_EQ(fourth.savedAs, (Names{part}));
    EXPECT_FALSE(commands->noNameNumbers().inUse(4));
    EXPECT_TRUE(commands->noNameNumbers().inUse(3));
    EXPECT_EQ(session->recentFiles[0], part);
    newWindow();
    EXPECT_EQ(windows.active->name, "NONAME4");
    // A new document's dialog keeps the name last put into it.
    commands->saveAs();
    EXPECT_EQ(ui.fileRequests.back().fileName, part);
}

TEST_F(FileCommandsTest, SaveAsRefusesOverwritingAndOtherFoldersWithoutTheRights) {
    struct Case {
        std::string chosen;
        std::vector<int> rights;
        std::string message;
        std::string logLine;
    };
    testing::TempFolder elsewhere;
    const std::string existing = dir.write("old.tap", "keep");
    const std::vector<Case> cases = {
        {existing,
         {kPrivEditFiles, kPrivChangeFolders},
         "Insufficient Priviliges To Overwrite a File",
         "Failed Attempt to Overwrite File"},
        {elsewhere.file("x.tap"),
         {kPrivEditFiles, kPrivOverwriteFiles},
         "Insufficient Priviliges To Change Folder",
         "Failed Attempt to Change Folder"},
    };
    FakeWindow& window = newWindow();
    for (const Case& c : cases) {
        std::filesystem::remove(session->log.logFile());
        ui.messages.clear();
        grant(c.rights);
        ui.savedFiles.push_back(c.chosen);
        EXPECT_EQ(commands->saveAs(), FileCommands::SaveResult::NotSaved);
        EXPECT_EQ(ui.texts(), (Names{c.message}));
        EXPECT_EQ(logLines(), (Names{"Save File [" + c.chosen + "]", c.logLine}));
        EXPECT_TRUE(window.savedAs.empty());
        EXPECT_EQ(window.name, "NONAME1");
    }
    grant({kPrivEditFiles, kPrivOverwriteFiles, kPrivChangeFolders});
    ui.savedFiles.push_back(elsewhere.file("x.tap"));
    EXPECT_EQ(commands->saveAs(), FileCommands::SaveResult::Saved);
}

TEST_F(FileCommandsTest, AFailedWriteShowsTheSystemTextAndKeepsEverything) {
    FakeWindow& window = newWindow();
    window.modified = true;
    window.failWith = ENOSPC;
    ui.savedFiles.push_back(dir.file("full.tap"));
    EXPECT_EQ(commands->saveAs(), FileCommands::SaveResult::Failed);
    EXPECT_EQ(ui.texts(), (Names{systemErrorText(ENOSPC)}));
    EXPECT_EQ(window.name, "NONAME1");
    EXPECT_TRUE(window.modified);
    EXPECT_TRUE(commands->noNameNumbers().inUse(1));
    EXPECT_EQ(session->recentFiles[0], "");
    // The close question then keeps the window, so its text is not lost.
    ui.messages.clear();
    ui.answers.push_back(Answer::Yes);
    ui.savedFiles.push_back(dir.file("full.tap"));
    EXPECT_FALSE(commands->queryClose(window));
}

TEST_F(FileCommandsTest, CloseQuestionAnswers) {
    FakeWindow& window = newWindow();
    EXPECT_TRUE(commands->queryClose(window));  // unmodified: no question
    EXPECT_TRUE(ui.messages.empty());

    window.modified = true;
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(commands->queryClose(window));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "NONAME1 has changed, do you wish to save?");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNoCancel);

    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(commands->queryClose(window));
    EXPECT_TRUE(window.savedAs.empty());

    // Yes on a never-saved document opens Save As; cancelling it keeps the
    // window and its edits.
    ui.answers.push_back(Answer::Yes);
    EXPECT_FALSE(commands->queryClose(window));
    EXPECT_EQ(ui.fileRequests.back().title, "Save NONAME1 As");
    EXPECT_TRUE(window.savedAs.empty());
    EXPECT_TRUE(window.modified);

    // So does a save the user may not make; No still discards.
    grant({});
    ui.messages.clear();
    ui.answers.push_back(Answer::Yes);
    EXPECT_FALSE(commands->queryClose(window));
    EXPECT_EQ(ui.texts(), (Names{"NONAME1 has changed, do you wish to save?",
                                 "Insufficient Priviliges for this Function"}));
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(commands->queryClose(window));
    session->state.Settings.UseSecure = false;

    // Yes saves the window being closed, not the active one.
    const std::string named = dir.write("n.tap", "");
    windows.openWindow(named, true);
    FakeWindow& namedWindow = *windows.active;
    namedWindow.modified = true;
    windows.active = &window;
    ui.answers.push_back(Answer::Yes);
    EXPECT_TRUE(commands->queryClose(namedWindow));
    EXPECT_EQ(namedWindow.savedAs, (Names{named}));
    EXPECT_TRUE(window.savedAs.empty());
}

}  // namespace
}  // namespace zantor
