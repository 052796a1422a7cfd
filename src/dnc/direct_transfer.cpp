#include "dnc/direct_transfer.h"

#include <filesystem>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/interaction.h"
#include "users/activity_log.h"

namespace zantor {

namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

std::string nameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

}  // namespace

DirectTransfer::Outcome DirectTransfer::copyOne(const std::string& source,
                                                const std::string& target,
                                                const std::string& original) {
    if (sameFile(source, target) || (!original.empty() && sameFile(original, target))) {
        interaction_.showError("[" + target + "] is the file being transferred itself; it was " +
                               "not copied. Choose another destination folder.");
        return Outcome::Skipped;
    }
    if (fileExists(target)) {
        switch (interaction_.message(MessageKind::Confirmation,
                                     "Do you really want to overwrite " + nameOf(target) + "?",
                                     Buttons::YesNoCancel)) {
            case Answer::Yes:
                break;
            case Answer::No:
                return Outcome::Skipped;
            default:
                return Outcome::Cancelled;
        }
    }
    try {
        copyFileAtomically(source, target);
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
        return Outcome::Skipped;
    }
    return Outcome::Copied;
}

size_t DirectTransfer::copyFiles(const std::vector<std::string>& files, const std::string& folder,
                                 const std::string& direction) {
    size_t copied = 0;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        log_.WriteLog("DNC Direct File Transfer " + direction + " [" + *it + "]");
        const Outcome outcome = copyOne(*it, withTrailingSeparator(folder) + nameOf(*it), {});
        if (outcome == Outcome::Cancelled) break;
        if (outcome == Outcome::Copied) ++copied;
    }
    return copied;
}

bool DirectTransfer::sendPrepared(const std::string& sendFile, const std::string& sentName,
                                  const std::string& folder) {
    const std::string name = sentName.empty() ? std::string("NONE") : nameOf(sentName);
    const Outcome outcome =
        copyOne(sendFile, withTrailingSeparator(folder) + name, sentName);
    if (outcome != Outcome::Copied) return false;
    log_.WriteLog("DNC Direct File Transfer Send [" + sentName + "]");
    return true;
}

}  // namespace zantor
