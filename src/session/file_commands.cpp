#include "session/file_commands.h"

#include <filesystem>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/interaction.h"
#include "core/text_util.h"
#include "machines/folder_choice.h"
#include "session/app_session.h"
#include "session/recent_files.h"
#include "users/user_record.h"

namespace zantor {

namespace {

constexpr const char* kSaveFailedLine = "Failed Attempt to Save a File";
constexpr const char* kOpenFailedLine = "Failed Attempt to Open a File";

std::string withoutTrailingSeparators(std::string text) {
    while (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.pop_back();
    return text;
}

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string fileNamePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

std::optional<int> noNameNumber(const std::string& fileName) {
    if (!isNoName(fileName)) return std::nullopt;
    return parseInt(std::string_view(fileName).substr(std::string_view(kNoNamePrefix).size()));
}

bool isNoName(const std::string& fileName) {
    return fileName.starts_with(kNoNamePrefix);
}

std::optional<int> NoNameNumbers::take() {
    for (int n = 1; n <= kMaxNoNameNumber; ++n)
        if (used_.insert(n).second) return n;
    return std::nullopt;
}

bool sameFolderText(const std::string& a, const std::string& b) {
    return withoutTrailingSeparators(a) == withoutTrailingSeparators(b);
}

FileCommands::FileCommands(AppSession& session, Interaction& interaction, EditorWindowList& windows)
    : session_(session), interaction_(interaction), windows_(windows) {}

bool FileCommands::mayEditFiles(const char* failureLine) {
    if (session_.security.HasPrivilege(kPrivEditFiles, true)) return true;
    session_.log.WriteLog(failureLine);
    return false;
}

std::string FileCommands::defaultExtension() const {
    return session_.state.CurrentSettings.Format.DefaultExt;
}

std::string FileCommands::filter() const {
    // Linux file names keep their case: offer the upper- and lower-case form
    // of the machine's extension.
    const std::string ext = defaultExtension();
    std::string patterns = "*." + ext;
    if (toLowerAscii(ext) != ext) patterns += " *." + toLowerAscii(ext);
    return "NC-Code files (" + patterns + ");;Text Files (*.txt);;All files (*)";
}

std::string FileCommands::dialogFolder() {
    return chooseDialogFolder(FolderDialogKind::LoadSave, session_.state.CurrentSettings,
                              session_.state.Folders);
}

void FileCommands::addRecentFile(const std::string& name) {
    AddRecentFile(session_.recentFiles, name);
    if (recentFilesChanged) recentFilesChanged();
}

void FileCommands::newFile() {
    if (!mayEditFiles("Failed Attempt to Create New File")) return;
    const std::optional<int> number = noNames_.take();
    if (!number) {
        interaction_.showInformation(kNoNameNumbersExhausted);
        return;
    }
    windows_.openWindow(kNoNamePrefix + std::to_string(*number), false);
    session_.log.WriteLog("New File Created");
}

std::string createFileQuestion(const std::string& name) {
    return name + "\r\nThis file does not exist.\r\nDo you want to create it?";
}

std::string replaceCutFileQuestion(const std::string& name) {
    return name +
           "\r\nLines of this file were too long for the editor and were cut when it was "
           "opened.\r\nReplace the file with the shortened lines? (No saves it under another "
           "name.)";
}

void FileCommands::openFile(const std::string& name, bool addToRecent) {
    if (FileCommandWindow* open = windows_.findWindow(name)) {
        windows_.bringToFront(*open);
        return;
    }
    session_.logFileOpened(name);
    windows_.openWindow(name, true);
    if (addToRecent) addRecentFile(name);
}

void FileCommands::openFiles() {
    if (!mayEditFiles(kOpenFailedLine)) return;
    for (const std::string& name : interaction_.openFiles(openDialogRequest("Open"))) {
        // A name typed into the dialog may be a file still to be written:
        // on Yes its window opens empty under that name.
        if (!windows_.findWindow(name) && !fileExists(name)) {
            if (!interaction_.confirm(createFileQuestion(name))) continue;
            session_.logFileOpened(name);
            windows_.openWindow(name, false);
            addRecentFile(name);
            continue;
        }
        openFile(name, true);
    }
}

FileDialogRequest FileCommands::openDialogRequest(const std::string& title) {
    FileDialogRequest request;
    request.title = title;
    request.folder = dialogFolder();
    request.filter = filter();
    request.defaultSuffix = defaultExtension();
    request.multiple = true;
    return request;
}

void FileCommands::openRecentFile(int index) {
    if (!mayEditFiles(kOpenFailedLine)) return;
    if (index < 0 || index >= static_cast<int>(kRecentFileCount)) return;
    const std::string name = session_.recentFiles[static_cast<size_t>(index)];
    if (name.empty()) return;
    openFile(name, false);
}

bool FileCommands::write(FileCommandWindow& window, const std::string& name) {
    try {
        window.saveDocument(name);
        return true;
    } catch (const FileError& error) {
        interaction_.showError(error.what());
        return false;
    }
}

FileCommands::SaveResult FileCommands::save(FileCommandWindow* window) {
    if (!mayEditFiles(kSaveFailedLine)) return SaveResult::NotSaved;
    if (!window) window = windows_.activeWindow();
    if (!window) return SaveResult::NotSaved;
    const std::string name = window->caption();
    // The results window has a title, not a file: it is saved like a new one.
    if (isNoName(name) || name == kResultsWindowTitle ||
        !session_.security.HasPrivilege(kPrivOverwriteFiles, true))
        return saveAs(window);
    // Saving over a file whose long lines were cut would lose their ends:
    // asked once, since a save leaves the file as the document is.
    if (window->linesCutAtLoading() && !interaction_.confirm(replaceCutFileQuestion(name)))
        return saveAs(window);
    session_.log.WriteLog("Save File [" + name + "]");
    if (!write(*window, name)) return SaveResult::Failed;
    addRecentFile(name);
    return SaveResult::Saved;
}

FileCommands::SaveResult FileCommands::saveAs(FileCommandWindow* window) {
    if (!mayEditFiles("Failed Attempt to Save(as) a File")) return SaveResult::NotSaved;
    if (!window) window = windows_.activeWindow();
    if (!window) return SaveResult::NotSaved;
    const std::string oldName = window->caption();
    const std::optional<int> number = noNameNumber(oldName);
    if (!isNoName(oldName)) saveDialogName_ = oldName;

    FileDialogRequest request;
    request.title = "Save " + fileNamePart(oldName) + " As";
    request.folder = dialogFolder();
    request.filter = filter();
    request.defaultSuffix = defaultExtension();
    request.fileName = saveDialogName_;
    const std::optional<std::string> chosen = interaction_.saveFile(request);
    if (!chosen) return SaveResult::NotSaved;
    const std::string name = *chosen;
    saveDialogName_ = name;
    session_.log.WriteLog("Save File [" + name + "]");

    if (fileExists(name) && !session_.security.HasPrivilege(kPrivOverwriteFiles, false)) {
        interaction_.showMessage("Insufficient Priviliges To Overwrite a File");
        session_.log.WriteLog("Failed Attempt to Overwrite File");
        return SaveResult::NotSaved;
    }
    const std::string loadSaveFolder =
        folderTextToPath(session_.state.CurrentSettings.Format.LoadSaveFolder);
    if (!sameFolderText(folderOf(name), loadSaveFolder) &&
        !session_.security.HasPrivilege(kPrivChangeFolders, false)) {
        interaction_.showMessage("Insufficient Priviliges To Change Folder");
        session_.log.WriteLog("Failed Attempt to Change Folder");
        return SaveResult::NotSaved;
    }
    if (!write(*window, name)) return SaveResult::Failed;
    window->rename(name);
    addRecentFile(name);
    if (!isNoName(name) && number) noNames_.release(*number);
    return SaveResult::Saved;
}

bool FileCommands::queryClose(FileCommandWindow& window) {
    if (!window.isModified()) return true;
    const std::string question = window.caption() + " has changed, do you wish to save?";
    switch (interaction_.message(MessageKind::Information, question, Buttons::YesNoCancel)) {
        case Answer::Yes:
            // Closing after a cancelled Save As or a refused privilege would
            // throw away the edits the user has just asked to keep.
            return save(&window) == SaveResult::Saved;
        case Answer::No:
            return true;
        default:
            return false;
    }
}

void FileCommands::windowClosed(const std::string& caption) {
    if (const std::optional<int> number = noNameNumber(caption)) noNames_.release(*number);
}

}  // namespace zantor
