#pragma once

#include <iosfwd>
#include <string>

#include "core/interaction.h"

namespace zantor::cli {

// What the logic would ask or tell a person, on a console: messages go to
// `err` as lines, after `prefix` ("zantor-cli user: ") when one is given;
// questions get their cancel answer.
class ConsoleInteraction : public Interaction {
public:
    explicit ConsoleInteraction(std::ostream& err, std::string prefix = {})
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
