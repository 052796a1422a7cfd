#pragma once

#include <QPointer>
#include <QWidget>

#include "core/interaction.h"

namespace zantor {

// The desktop program's answers: modal Qt dialogs over the window the user
// works in, the main window unless another one is active.
class QtInteraction : public Interaction {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    // Dialogs come up over the parent window or one of its own windows only,
    // whichever window is active (the DNC terminal's messages stay with it).
    void keepToParentWindow(bool on) { keepToParent_ = on; }
    // The least width of a message box, so that the desktop shows its title
    // whole.
    static int messageWidth(const QFont& font);

    Answer message(MessageKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> browseFolder(const std::string& title,
                                            const std::string& start) override;
    void setBusy(bool busy) override;
    void beep() override;

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> parent_;
    bool keepToParent_ = false;
};

}  // namespace zantor
