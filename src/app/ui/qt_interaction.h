#pragma once

#include <QPointer>
#include <QWidget>

#include "core/interaction.h"

namespace zantor {

// The desktop program's answers: modal Qt dialogs over the main window.
class QtInteraction : public Interaction {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }

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
    QPointer<QWidget> parent_;
};

}  // namespace zantor
