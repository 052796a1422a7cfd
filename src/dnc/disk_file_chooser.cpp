#include "dnc/disk_file_chooser.h"

#include "dnc/send_selection.h"

namespace zantor {

std::string tapeFileFilter(const std::string& extension) {
    return "Tape files (*." + extension + ");;Text Files (*.txt);;All files (*)";
}

std::optional<SendChoice> DiskFileChooser::chooseForSend(bool) {
    SendPreparation preparation(state_, interaction_, [] { return nullptr; });
    if (!preparation.prepareForSend(SendMode::FromDiskFile)) return std::nullopt;
    return preparation.choice();
}

}  // namespace zantor
