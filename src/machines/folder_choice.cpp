#include "machines/folder_choice.h"

#include "core/folders.h"

namespace zantor {

std::string chooseDialogFolder(FolderDialogKind kind, const MachineSettings& settings,
                               FolderFlags& flags) {
    bool* fresh = nullptr;
    bool always = false;
    const std::string* folder = nullptr;
    switch (kind) {
        case FolderDialogKind::Upload:
            fresh = &flags.UploadFolderFresh;
            always = settings.Comm.ForceUploadDir != 0;
            folder = &settings.Format.UploadFolder;
            break;
        case FolderDialogKind::Download:
            fresh = &flags.DownloadFolderFresh;
            always = settings.Comm.ForceDownloadDir != 0;
            folder = &settings.Format.DownloadFolder;
            break;
        case FolderDialogKind::LoadSave:
            fresh = &flags.LoadSaveDirPending;
            always = settings.Comm.ForceLoadSaveDir != 0;
            folder = &settings.Format.LoadSaveFolder;
            break;
    }
    const bool useMachineFolder = *fresh || always;
    *fresh = false;
    return useMachineFolder ? dialogStartFolder(*folder) : std::string();
}

}  // namespace zantor
