#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/interaction.h"

namespace zantor::testing {

// Answers every question from queues filled by the test and records every
// text the user would have seen. An empty queue gives the "cancel" answer
// (OK for an OK-only box), so a test that forgets a script fails visibly
// rather than hanging on a dialog.
class ScriptedInteraction : public Interaction {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
        Buttons buttons;
    };

    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::vector<std::string>> openedFiles;
    std::deque<std::optional<std::string>> savedFiles;
    std::deque<std::optional<std::string>> folders;

    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::string> prompts;
    int beeps = 0;
    int busyDepth = 0;

    Answer message(MessageKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> browseFolder(const std::string& title,
                                            const std::string& start) override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void beep() override { ++beeps; }

    std::vector<std::string> texts() const;
};

}  // namespace zantor::testing
