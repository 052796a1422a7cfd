#include "cli/app_commands.h"

#include <ostream>
#include <stdexcept>

#include "session/settings_file.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "users/user_database.h"

namespace zantor::cli {

namespace {

// Messages of the logic go to stderr; questions get their cancel answer.
class ConsoleInteraction : public Interaction {
public:
    explicit ConsoleInteraction(std::ostream& err) : err_(err) {}
    Answer message(MessageKind, const std::string& text, Buttons buttons) override {
        err_ << text << "\n";
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
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
};

}  // namespace

int runSettings(CliContext& context) {
    if (!context.args.empty()) throw CliError{"takes no arguments"};
    RunState state;
    state.ProgramFolder = context.programFolder;
    state.TempDir = context.programFolder;
    state.EditorFont = FontSpec{"Monospace", 9};
    ConsoleInteraction interaction(context.err);
    LoadSettings(*IniStore::read(context.programFolder + kSettingsFileName), state, interaction);
    // The selector would select CMACHINE when it is listed; show it as stored.
    for (const auto& [key, value] : generalEntries(state, state.CurrentMachine))
        context.out << key << "=" << value << "\n";
    return 0;
}

int runUsers(CliContext& context) {
    if (!context.args.empty()) throw CliError{"takes no arguments"};
    for (const std::string& name : UserDatabase(context.systemFolder + kUserFileName).ListUsers())
        context.out << name << "\n";
    return 0;
}

}  // namespace zantor::cli
