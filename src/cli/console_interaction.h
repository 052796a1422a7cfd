#pragma once

#include <iosfwd>

#include "core/interaction.h"

namespace zantor::cli {

// What the logic would show a person goes to standard error, each message as
// one line after `prefix` ("zantor-cli user: "); questions get their cancel
// answer, dialogs choose nothing.
class ConsoleInteraction : public Interaction {
public:
    ConsoleInteraction(std::ostream& err, std::string prefix)
        : err_(err), prefix_(std::move(prefix)) {}
    Answer message(MessageKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> inputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> openFiles(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void beep() override {}

private:
    std::ostream& err_;
    std::string prefix_;
};

}  // namespace zantor::cli
