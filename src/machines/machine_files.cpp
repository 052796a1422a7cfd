#include "machines/machine_files.h"

#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/ini_file.h"
#include "core/interaction.h"
#include "machines/machine_database.h"

namespace zantor {

namespace {

std::string databaseIn(const std::string& folder) {
    return withTrailingSeparator(folder) + kMachineDatabaseFileName;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string machineDatabaseProblem(const std::string& bytes) {
    if (bytes.find('\0') != std::string::npos) return "it is a binary file";
    const IniFile ini = IniFile::parse(bytes);
    if (!ini.hasSection("Machine Names")) return "it has no section \"Machine Names\"";
    return {};
}

bool backupMachineDatabase(const std::string& systemFolder, const std::string& folder,
                           Interaction& interaction) {
    const std::string source = databaseIn(systemFolder);
    const std::string target = databaseIn(folder);
    try {
        if (std::filesystem::equivalent(source, target)) {
            interaction.showError(quoted(target) + " is the machine database itself.");
            return false;
        }
    } catch (const std::filesystem::filesystem_error&) {
        // One of them does not exist: they are not the same file.
    }
    try {
        const std::string bytes = readFileBytes(source);
        if (fileExists(target) &&
            interaction.message(MessageKind::Confirmation,
                                quoted(target) + " exists already. Replace it?",
                                Buttons::YesNo) != Answer::Yes)
            return false;
        writeFileAtomically(target, bytes);
        return true;
    } catch (const FileError& e) {
        interaction.showError(e.path() + ": " + e.what());
        return false;
    }
}

bool restoreMachineDatabase(const std::string& systemFolder, const std::string& folder,
                            Interaction& interaction) {
    const std::string source = databaseIn(folder);
    try {
        const std::string bytes = readFileBytes(source);
        if (const std::string problem = machineDatabaseProblem(bytes); !problem.empty()) {
            interaction.showError(quoted(source) + " is not a machine database (" + problem +
                                  "); nothing was restored.");
            return false;
        }
        writeFileAtomically(databaseIn(systemFolder), bytes);
        return true;
    } catch (const FileError& e) {
        interaction.showError(e.path() + ": " + e.what());
        return false;
    }
}

void checkMachineFolders(const MachineFormat& format, Interaction& interaction) {
    const std::pair<const std::string*, const char*> folders[] = {
        {&format.UploadFolder, "Default Upload"},
        {&format.DownloadFolder, "Default Download"},
        {&format.LoadSaveFolder, "Default Load/Save"},
    };
    for (const auto& [text, label] : folders) {
        const std::string path = folderTextToPath(*text);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) continue;
        if (interaction.message(
                MessageKind::Confirmation,
                std::string("Folder for \"") + label + "\" Does Not Exist, Create ?",
                Buttons::YesNo) != Answer::Yes)
            return;
        if (!std::filesystem::create_directory(path, error) || error) {
            interaction.showError("Error Creating Folder\"" + *text + "\"");
            return;
        }
    }
}

}  // namespace zantor
