#pragma once

#include <string>

#include "machines/machine_database.h"

namespace zantor {

enum class FolderDialogKind { Upload, Download, LoadSave };

// The folder a file dialog of `kind` starts in: the current machine's folder
// (as a path of this system, created when missing, ending with "/") when that
// folder is fresh or set "Always First",
// otherwise empty, meaning where the previous dialog was left. Preparing the
// dialog clears the fresh flag.
std::string chooseDialogFolder(FolderDialogKind kind, const MachineSettings& settings,
                               FolderFlags& flags);

}  // namespace zantor
