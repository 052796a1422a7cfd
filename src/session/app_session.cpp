#include "session/app_session.h"

#include <cstdio>

#include "session/first_start.h"
#include "session/settings_file.h"
#include "core/file_io.h"
#include "core/folders.h"
#include "core/ini_store.h"
#include "core/interaction.h"

namespace zantor {

AppSession::AppSession(const std::string& programFolder, const std::string& systemFolder,
                       Interaction& interaction)
    : machines(withTrailingSeparator(systemFolder) + kMachineDatabaseFileName),
      users(withTrailingSeparator(systemFolder) + kUserFileName),
      log(withTrailingSeparator(programFolder) + kActivityLogFileName),
      security(state.Settings.UseSecure, log, interaction),
      interaction_(interaction) {
    state.ProgramFolder = withTrailingSeparator(programFolder);
    state.SystemFolder = withTrailingSeparator(systemFolder);
    state.SettingsFile = state.ProgramFolder + kSettingsFileName;
    state.TempDir = state.ProgramFolder;
    firstStart_ = isFirstStart(programFolder, systemFolder);
}

void AppSession::offerExamples() {
    const std::string text =
        "Welcome to Zantor. The machine database is empty.\n\n"
        "Start with two example machines, an ISO-code mill on port 1 and an EIA-code lathe on "
        "DNC hub 1, and their example programs?\n\n"
        "No starts with an empty database; machines are added in Machine/DNC Setup.";
    if (interaction_.message(MessageKind::Confirmation, text, Buttons::YesNo) != Answer::Yes)
        return;
    try {
        const ExampleSetup setup = installExamples(machines, examplesFolder);
        state.CurrentMachine = kExampleMill;
        log.WriteLog("Example machines added; example programs in [" + setup.programFolder + "]");
    } catch (const FileError& error) {
        interaction_.showError("Cannot add the example machines to " + machines.path() + ":\n" +
                               error.what());
    }
    refillMachineSelector();
}

void AppSession::updateSettingsFile(const std::function<void(IniFile&)>& change) {
    try {
        IniStore::update(state.SettingsFile, change);
    } catch (const FileError& error) {
        interaction_.showError("Cannot save the settings to " + state.SettingsFile + ":\n" +
                               error.what());
    }
}

void AppSession::create(const FontSpec& defaultEditorFont) {
    makeFolders(state.ProgramFolder);
    makeFolders(state.SystemFolder);
    std::shared_ptr<const IniFile> settings;
    try {
        settings = IniStore::read(state.SettingsFile);
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the settings from " + state.SettingsFile + ":\n" +
                               error.what() + "\nThe defaults are used.");
        settings = std::make_shared<const IniFile>();
    }
    recentFiles = readRecentFiles(*settings);
    state.EditorFont = defaultEditorFont;
    LoadSettings(*settings, state, interaction_);
    log.LoggingEnabled = readLoggingSetting(*settings);
    makeWorkFiles();
    try {
        users.ensureExists();
    } catch (const FileError& error) {
        interaction_.showError("Cannot create the user file " + users.path() + ":\n" +
                               error.what());
    }
    refillMachineSelector();
}

std::string AppSession::makeWorkFile() {
    const std::string name = MakeTempName(state.TempDir, "ZTR");
    writeFileAtomically(name, "");
    return name;
}

void AppSession::makeWorkFiles() {
    makeFolders(state.TempDir);
    try {
        state.SendFile = makeWorkFile();
        state.WorkFile = makeWorkFile();
    } catch (const FileError& error) {
        interaction_.showError("Cannot create a work file in " + state.TempDir + ":\n" +
                               error.what());
    }
}

void AppSession::refillMachineSelector() {
    std::vector<std::string> names;
    try {
        names = machines.ListMachines();
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the machine database " + machines.path() + ":\n" +
                               error.what());
    }
    selector.FillMachineBox(names, state.CurrentMachine);
}

AppSession::StartOutcome AppSession::start(const CommandLine& commandLine,
                                           const CredentialsPrompt& prompt) {
    if (state.Settings.UseSecure) {
        log.WriteLog("-- System Startup --");
        if (!security.Login(users, prompt)) return StartOutcome::Quit;
    }
    state.RemoteMode = commandLine.remoteMode;
    if (firstStart_ && !commandLine.remoteMode && !examplesFolder.empty()) offerExamples();
    firstStart_ = false;
    if (commandLine.remoteMode && !commandLine.remoteMachine.empty()) {
        state.CurrentMachine = commandLine.remoteMachine;
        loadCurrentMachine();
        selector.selectByName(state.CurrentMachine);
        return StartOutcome::Remote;
    }
    loadCurrentMachine();
    return commandLine.remoteMode ? StartOutcome::Remote : StartOutcome::Run;
}

void AppSession::machineSelected(int index) {
    selector.select(index);
    if (selector.selectedIndex() < 0) return;
    state.CurrentMachine = selector.selectedText();
    loadCurrentMachine();
}

void AppSession::loadCurrentMachine() {
    try {
        machines.LoadMachine(state.CurrentMachine, state.CurrentSettings, state.Folders);
        for (const auto& listener : machineLoaded) listener(state.CurrentSettings);
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the machine database " + machines.path() + ":\n" +
                               error.what());
    }
}

bool AppSession::changeLogin(const CredentialsPrompt& prompt) {
    security.Logoff();
    return security.Login(users, prompt);
}

std::string AppSession::loginMenuCaption() const {
    return "&Logoff User: " + security.CurrentUserName();
}

bool AppSession::mayManagePasswords() {
    if (!security.HasPrivilege(kPrivChangePasswords, true)) return false;
    log.WriteLog("Modify Passwords");
    return true;
}

void AppSession::setLogging(bool enabled) {
    log.LoggingEnabled = enabled;
    updateSettingsFile([&](IniFile& ini) { writeLoggingSetting(ini, enabled); });
}

void AppSession::saveSettings() {
    const std::string selected = selector.selectedText();
    updateSettingsFile([&](IniFile& ini) { SaveSettings(ini, state, selected); });
}

void AppSession::shutdown() {
    log.WriteLog("-- System Shutdown --");
    saveSettings();
    if (!state.SendFile.empty()) std::remove(state.SendFile.c_str());
    if (!state.WorkFile.empty()) {
        std::remove(state.WorkFile.c_str());
        std::remove((state.WorkFile + ".XXX").c_str());
    }
}

void AppSession::destroy() {
    updateSettingsFile([&](IniFile& ini) { writeRecentFiles(ini, recentFiles); });
}

void AppSession::logFileOpened(const std::string& fileName) {
    log.WriteLog("Open File [" + fileName + "]");
}

}  // namespace zantor
