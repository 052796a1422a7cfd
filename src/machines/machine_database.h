#pragma once

#include <string>
#include <vector>

#include "core/ini_file.h"
#include "machines/machine_settings.h"

namespace zantor {

// Which file dialogs start in the current machine's folder next time.
struct FolderFlags {
    bool UploadFolderFresh = true;
    bool DownloadFolderFresh = true;
    bool LoadSaveDirPending = true;
};

inline constexpr const char* kMachineDatabaseFileName = "WPOSTS.INI";
inline constexpr const char* kNotUsedSlot = "Not Used";

// Why a machine could not be stored under this name, or empty when it can.
std::string machineNameProblem(const std::string& name);

// The listed machine names of a parsed database, in slot order.
std::vector<std::string> listMachines(const IniFile& database);

// The machine database: one section per machine, listed by name in slots of
// section "Machine Names". Every operation reads the file as it is on disk
// (parsed once while it does not change) and every change is written at once.
// Operations that change the file throw FileError when it cannot be written.
class MachineDatabase {
public:
    explicit MachineDatabase(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    std::vector<std::string> ListMachines() const;
    // Reads section `name` into `settings` and marks the folders fresh.
    void LoadMachine(const std::string& name, MachineSettings& settings, FolderFlags& flags) const;
    // Loads `section` into `settings` as LoadMachine does and returns its
    // communication record.
    MachComRec ReadMachComRec(const std::string& section, MachineSettings& settings) const;
    void SaveMachine(const std::string& name, const MachineSettings& settings) const;
    void AddMachineName(const std::string& name) const;
    // AddMachineName and SaveMachine in one write of the file, so that no
    // reader and no crash ever sees the name listed without its section.
    void AddMachine(const std::string& name, const MachineSettings& settings) const;
    // Erases every section of that name and frees the first slot naming it.
    void DeleteMachine(const std::string& name) const;
    // Gives machine `oldName` the name `newName` with `settings` in one write
    // of the file: the NC-code macros of the old section come along, the old
    // section is erased and its slot freed before the new name is listed.
    // Returns why it was refused (a bad name, or a name listed already),
    // empty when done; a refused rename changes nothing.
    std::string RenameMachine(const std::string& oldName, const std::string& newName,
                              const MachineSettings& settings) const;

private:
    std::string path_;
};

}  // namespace zantor
