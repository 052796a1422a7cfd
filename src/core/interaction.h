#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zantor {

enum class MessageKind { Plain, Information, Confirmation, Warning, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    std::string title;
    std::string folder;         // empty: where the previous dialog was left
    std::string filter;         // "NC Files (*.tap *.nc);;All Files (*)"
    std::string defaultSuffix;  // "TAP"
    std::string fileName;       // proposed name (save dialogs)
    bool multiple = false;      // open dialogs: several files at once
    bool confirmOverwrite = true;  // save dialogs: the dialog asks before replacing a file
};

// Everything the logic asks of a person. The desktop program answers with
// dialogs; tests answer from a script and keep every text the user was shown.
class Interaction {
public:
    virtual ~Interaction() = default;

    virtual Answer message(MessageKind kind, const std::string& text, Buttons buttons) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> inputText(const std::string& title,
                                                 const std::string& prompt,
                                                 const std::string& initial) = 0;
    // Chosen files, empty when cancelled.
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> browseFolder(const std::string& title,
                                                    const std::string& start) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void beep() = 0;

    void showMessage(const std::string& text) { message(MessageKind::Plain, text, Buttons::Ok); }
    void showInformation(const std::string& text) {
        message(MessageKind::Information, text, Buttons::Ok);
    }
    void showWarning(const std::string& text) { message(MessageKind::Warning, text, Buttons::Ok); }
    void showError(const std::string& text) { message(MessageKind::Error, text, Buttons::Ok); }
    bool confirm(const std::string& text) {
        return message(MessageKind::Confirmation, text, Buttons::YesNo) == Answer::Yes;
    }
};

// Sets the busy cursor for the lifetime of the object.
class BusyCursor {
public:
    explicit BusyCursor(Interaction& interaction) : interaction_(interaction) {
        interaction_.setBusy(true);
    }
    ~BusyCursor() { interaction_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Interaction& interaction_;
};

}  // namespace zantor
