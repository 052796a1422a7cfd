#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "core/interaction.h"

namespace zantor {

class AppSession;
class Interaction;

// An open editor window as the file commands see it.
class FileCommandWindow {
public:
    virtual ~FileCommandWindow() = default;
    // The caption is the document's file name, and the key by which an open
    // file is found.
    virtual std::string caption() const = 0;
    // Caption and document file name together.
    virtual void rename(const std::string& fileName) = 0;
    virtual bool isModified() const = 0;
    // Lines of the file were longer than a paragraph may be and were cut
    // when it was loaded: saving over the file would shorten them.
    virtual bool linesCutAtLoading() const = 0;
    // Writes the document with the save rules; throws FileError (the system's
    // text) and leaves the document modified when the write fails.
    virtual void saveDocument(const std::string& fileName) = 0;
};

// The editor windows of the main window.
class EditorWindowList {
public:
    virtual ~EditorWindowList() = default;
    virtual FileCommandWindow* activeWindow() = 0;
    // The window whose caption equals `caption` exactly, or none.
    virtual FileCommandWindow* findWindow(const std::string& caption) = 0;
    virtual void bringToFront(FileCommandWindow& window) = 0;
    // OpenEditorWindow: a new window named `name`, loading the file when `load`.
    virtual void openWindow(const std::string& name, bool load) = 0;
};

inline constexpr const char* kNoNamePrefix = "NONAME";
inline constexpr int kMaxNoNameNumber = 255;
inline constexpr const char* kNoNameNumbersExhausted =
    "All new file names NONAME1 to NONAME255 are in use.\r\nSave or close a new file first.";

// The number after "NONAME" of a new document's name, if it is one.
std::optional<int> noNameNumber(const std::string& fileName);
bool isNoName(const std::string& fileName);

// The numbers 1..255 in use by unsaved new documents.
class NoNameNumbers {
public:
    // The lowest free number, now in use; none when all are taken.
    std::optional<int> take();
    void release(int number) { used_.erase(number); }
    bool inUse(int number) const { return used_.count(number) != 0; }

private:
    std::set<int> used_;
};

// The question Open asks for a typed name that is not a file yet.
std::string createFileQuestion(const std::string& name);
// The question Save asks before writing over a file whose lines were cut at
// loading.
std::string replaceCutFileQuestion(const std::string& name);

// "Folder texts compared exactly, a trailing separator on either side ignored."
bool sameFolderText(const std::string& a, const std::string& b);

// New, Open, Save, Save As, the recent-file items and the close question of
// the editor windows, with their privilege checks and log lines. Windows are
// reached through EditorWindowList, so this runs without a display.
class FileCommands {
public:
    FileCommands(AppSession& session, Interaction& interaction, EditorWindowList& windows);

    // Called whenever the recent-files list changed, to rebuild the menu.
    std::function<void()> recentFilesChanged;

    void newFile();
    void openFiles();
    // The open dialog of Open, also used by Insert File: the machine's
    // extension and filter, several files, the folder by Open's rule.
    FileDialogRequest openDialogRequest(const std::string& title);
    // Recent-file item `index` (0..5).
    void openRecentFile(int index);

    enum class SaveResult { Saved, NotSaved, Failed };
    // The active window's document, or `window` when given (close question).
    SaveResult save(FileCommandWindow* window = nullptr);
    SaveResult saveAs(FileCommandWindow* window = nullptr);

    // The close question; true when the window may close. Yes closes only
    // once the document is saved: a failed write, a cancelled Save As or a
    // refused privilege keeps the window open so that nothing is lost.
    bool queryClose(FileCommandWindow& window);
    // The window with this caption has been destroyed.
    void windowClosed(const std::string& caption);

    const NoNameNumbers& noNameNumbers() const { return noNames_; }

private:
    bool mayEditFiles(const char* failureLine);
    void openFile(const std::string& name, bool addToRecent);
    void addRecentFile(const std::string& name);
    std::string dialogFolder();
    std::string filter() const;
    std::string defaultExtension() const;
    bool write(FileCommandWindow& window, const std::string& name);

    AppSession& session_;
    Interaction& interaction_;
    EditorWindowList& windows_;
    NoNameNumbers noNames_;
    std::string saveDialogName_;  // the save dialog keeps the name last put into it
};

}  // namespace zantor
