#pragma once

#include <map>
#include <string>

#include "machines/mach_com_rec.h"
#include "machines/machine_database.h"
#include "machines/machine_settings.h"

namespace zantor {

// A font as the logic knows it; the desktop program maps it to a real font.
struct FontSpec {
    std::string name;
    int size = 0;
    int color = 0;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSpec&) const = default;
};

// The values of section "GENERAL" of ZTR2013.INI, with their defaults.
// Colours are 24-bit RGB with red in the low byte.
struct AppSettings {
    bool UseSecure = false;
    bool DncAlert = false;
    bool AutoIndent = false;
    bool Backup = true;
    bool WordWrap = false;
    bool WrapToWindow = false;
    int WrapColumn = 80;
    bool WordStar = false;
    int TabType = 1;  // 0 fixed, 1 real, 2 smart tabs
    bool PrettyPrint = true;
    bool ColorPrint = false;
    bool NcWarn = true;
    std::string Analyzer;  // the command that starts the NC-code analyzer
    bool ShowSyntax = true;
    bool AutoRemote = false;
    int TabSize = 8;
    double MarginLeft = 1.0;
    double MarginTop = 0.5;
    double MarginBottom = 0.5;
    std::string LineCommentChar = "<";
    bool RtsLowForWrite = false;
    int ComInSize = 4096;
    int ComOutSize = 4096;
    int AlphaColor = 0;
    int NonAlphaColor = 16711680;
    int CommentColor = 255;
    int EditorColor = 16777215;
};

inline constexpr const char* kProductCaption = "Zantor Pro";
inline constexpr const char* kMainWindowCaption = "Zantor Pro 2013";
inline constexpr const char* kApplicationTitle = "ZANTOR 2013";
inline constexpr const char* kResultsWindowTitle = "Zantor Results";
inline constexpr const char* kSettingsFileName = "ZTR2013.INI";

// The state of one run of the program, shared by everything in it.
struct RunState {
    std::string ProgramFolder;  // with a trailing "/"
    std::string SystemFolder;   // with a trailing "/"
    std::string SettingsFile;
    std::string TempDir;
    std::string CurrentMachine;
    MachComRec CurrentMachComRec = DefaultMachComRec();
    MachineSettings CurrentSettings;  // the current machine's whole definition
    bool RemoteMode = false;
    std::string SendFile;
    std::string WorkFile;
    FolderFlags Folders;
    FontSpec EditorFont;
    FontSpec PrintFont{"Courier New", 12};
    int DtrDelayTicks = 0;
    int ComOpenDelayTicks = 0;
    AppSettings Settings;
    // Port numbers mapped to other devices for this run only, over section
    // PORTS ("Try without a machine" puts its simulated control here).
    std::map<int, std::string> PortOverrides;
};

}  // namespace zantor
