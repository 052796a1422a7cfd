#pragma once

#include <functional>
#include <string>
#include <vector>

#include "session/command_line.h"
#include "session/machine_selector.h"
#include "session/recent_files.h"
#include "session/run_state.h"
#include "machines/machine_database.h"
#include "users/activity_log.h"
#include "users/security.h"
#include "users/user_database.h"

namespace zantor {

class Interaction;

// One run of the program without its windows: the run state, the machine
// database and selector, the users and the activity log, and the start-up and
// shutdown sequences. The main window drives it; so can a test.
class AppSession {
public:
    AppSession(const std::string& programFolder, const std::string& systemFolder,
               Interaction& interaction);

    RunState state;
    MachineSelector selector;
    MachineDatabase machines;
    UserDatabase users;
    ActivityLog log;
    Security security;
    RecentFiles recentFiles;
    // The example programs the package installs; empty: no first-start offer.
    std::string examplesFolder;

    // The main window's creation step: folders, recent files, settings, the
    // two work files and the machine selector. `defaultEditorFont` is the
    // system's fixed-pitch font.
    void create(const FontSpec& defaultEditorFont);

    enum class StartOutcome { Run, Remote, Quit };
    // The show step up to the files: start-up log line and login when
    // security is on (Quit when it is cancelled), on a first start the offer
    // of the example machines, then the machine of a remote start or the
    // current machine is loaded.
    StartOutcome start(const CommandLine& commandLine, const CredentialsPrompt& prompt);

    // The selector's choice becomes the current machine and is loaded.
    void machineSelected(int index);
    void loadCurrentMachine();
    // Called after every load of the current machine, so that the utility
    // dialogs take its defaults.
    std::vector<std::function<void(const MachineSettings&)>> machineLoaded;
    // FillMachineBox again from the file (after the machine list changed).
    void refillMachineSelector();

    // "Change &Login": log-off, then a new login; false when it was cancelled.
    bool changeLogin(const CredentialsPrompt& prompt);
    std::string loginMenuCaption() const;

    // "Password Manager": the privilege check and its log line; true when
    // the manager may be shown.
    bool mayManagePasswords();
    // The password manager closed: logging is switched and stored at once.
    void setLogging(bool enabled);

    void saveSettings();
    // The main window closes: log line, settings, work files.
    void shutdown();
    // The main window is destroyed: the recent files are stored.
    void destroy();

    // Where the open log line is written for a file that is not open yet.
    void logFileOpened(const std::string& fileName);

private:
    void updateSettingsFile(const std::function<void(IniFile&)>& change);
    void offerExamples();
    void makeWorkFiles();
    std::string makeWorkFile();

    Interaction& interaction_;
    bool firstStart_ = false;
};

}  // namespace zantor
