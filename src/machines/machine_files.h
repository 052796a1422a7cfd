#pragma once

#include <string>

#include "machines/machine_settings.h"

namespace zantor {

class Interaction;

// Copies the machine database of `systemFolder` into `folder`. A WPOSTS.INI
// already there is replaced only when the user agrees. True when copied.
bool backupMachineDatabase(const std::string& systemFolder, const std::string& folder,
                           Interaction& interaction);

// Replaces the machine database of `systemFolder` with the WPOSTS.INI of
// `folder`, in one rename, after checking that the file reads as a machine
// database; a file that does not is refused with a message and nothing
// changes. True when restored.
bool restoreMachineDatabase(const std::string& systemFolder, const std::string& folder,
                            Interaction& interaction);

// Why `bytes` cannot be a machine database, empty when they can.
std::string machineDatabaseProblem(const std::string& bytes);

// The folder check before a machine is saved: the upload, download and
// load/save folders in turn; a missing one may be created (one level). No, or
// a folder that cannot be made, ends the check.
void checkMachineFolders(const MachineFormat& format, Interaction& interaction);

}  // namespace zantor
