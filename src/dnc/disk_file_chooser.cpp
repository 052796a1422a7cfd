#include "dnc/disk_file_chooser.h"

#include "core/file_io.h"
#include "core/interaction.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "machines/folder_choice.h"
#include "session/run_state.h"

namespace zantor {

std::string tapeFileFilter(const std::string& extension) {
    return "Tape files (*." + extension + ");;Text Files (*.txt);;All files (*)";
}

std::optional<SendChoice> DiskFileChooser::chooseForSend(bool) {
    const MachineSettings& machine = state_.CurrentSettings;
    FileDialogRequest request;
    request.title = "Send File";
    request.folder = chooseDialogFolder(FolderDialogKind::Download, machine, state_.Folders);
    request.filter = tapeFileFilter(machine.Format.DefaultExt);
    request.defaultSuffix = machine.Format.DefaultExt;
    request.multiple = true;
    const std::vector<std::string> files = interaction_.openFiles(request);
    if (files.empty()) return std::nullopt;
    SendChoice choice{files, files.front(), {}};
    if (files.size() > 1) return choice;
    try {
        prepareDiskFile(files.front(), state_.WorkFile, state_.SendFile,
                        tapeOptionsFor(machine, state_.Settings));
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
        return std::nullopt;
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
        return std::nullopt;
    }
    choice.sendFile = state_.SendFile;
    return choice;
}

}  // namespace zantor
