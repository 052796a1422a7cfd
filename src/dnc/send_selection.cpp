#include "dnc/send_selection.h"

#include "core/file_io.h"
#include "core/interaction.h"
#include "dnc/disk_file_chooser.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/work_file.h"
#include "editor/export_lines.h"
#include "machines/folder_choice.h"
#include "session/run_state.h"

namespace zantor {

SendPreparation::SendPreparation(RunState& state, Interaction& interaction,
                                 std::function<editor::TextDocument*()> activeDocument)
    : state_(state), interaction_(interaction), activeDocument_(std::move(activeDocument)) {}

bool SendPreparation::accept(SendMode mode) {
    if (mode == SendMode::CurrentEditorFile && state_.CurrentSettings.Format.CleanupBeforeSend &&
        cleanupBeforeSend) {
        editor::TextDocument* document = activeDocument_();
        bool cleaned = false;
        try {
            cleaned = document && cleanupBeforeSend(*document);
        } catch (const editor::EditorError& error) {
            interaction_.showError(error.what());
        }
        if (!cleaned) {
            // What an earlier OK prepared must not go out now.
            try {
                writeFileAtomically(state_.SendFile, "");
            } catch (const FileError&) {
                // nothing is sent either way
            }
            return false;
        }
    }
    return prepareForSend(mode);
}

bool SendPreparation::prepareForSend(SendMode mode, const std::string& file) {
    try {
        return prepare(mode, file);
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
    }
    return false;
}

bool SendPreparation::prepare(SendMode mode, const std::string& file) {
    chosenFiles_.clear();
    // Whatever was prepared before is gone, whichever way this ends.
    writeFileAtomically(state_.SendFile, "");
    const TapeOptions options = tapeOptionsFor(state_.CurrentSettings, state_.Settings);
    std::string body;
    switch (mode) {
        case SendMode::NamedFile:
            sentName_ = file;
            buildWorkFile(file, state_.WorkFile, options, file);
            body = file;
            break;
        case SendMode::FromDiskFile:
            if (!chooseDiskFiles(body)) return false;
            if (body.empty()) return true;  // several files: each is sent as stored
            buildWorkFile(body, state_.WorkFile, options, body);
            body = state_.WorkFile;
            break;
        case SendMode::CurrentEditorFile:
        case SendMode::SelectedEditorText:
        case SendMode::FromCursorToEnd:
            if (!exportEditorText(mode, body)) return false;
            buildWorkFile(body, state_.WorkFile, options, sentName_);
            body = state_.WorkFile;
            break;
    }
    const BusyCursor busy(interaction_);
    prepareSendFile(body, state_.SendFile, options);
    return true;
}

SendChoice SendPreparation::choice() const {
    SendChoice choice{chosenFiles_, sentName_, {}};
    // Several files go as they are stored; anything else was prepared.
    if (chosenFiles_.size() < 2) choice.sendFile = state_.SendFile;
    return choice;
}

bool SendPreparation::chooseDiskFiles(std::string& body) {
    const std::string ext = state_.CurrentSettings.Format.DefaultExt;
    FileDialogRequest request;
    request.title = "Select File(s) To Send";
    request.folder =
        chooseDialogFolder(FolderDialogKind::Download, state_.CurrentSettings, state_.Folders);
    request.filter = tapeFileFilter(ext);
    request.defaultSuffix = ext;
    request.multiple = true;
    std::vector<std::string> files = interaction_.openFiles(request);
    if (files.empty()) return false;
    chosenFiles_ = std::move(files);
    body.clear();
    if (chosenFiles_.size() == 1) {
        sentName_ = chosenFiles_.front();
        body = sentName_;
    }
    return true;
}

bool SendPreparation::exportEditorText(SendMode mode, std::string& body) {
    const editor::TextDocument* document = activeDocument_();
    if (!document) return false;
    const editor::ExportMode exportMode =
        mode == SendMode::CurrentEditorFile    ? editor::ExportMode::AllLines
        : mode == SendMode::SelectedEditorText ? editor::ExportMode::SelectedLines
                                               : editor::ExportMode::FromCaret;
    const editor::ExportResult result = editor::ExportLines(*document, exportMode, state_.WorkFile);
    if (!result.success) {
        if (!result.error.empty()) interaction_.showError(state_.WorkFile + ": " + result.error);
        return false;
    }
    sentName_ = result.fileName;
    body = state_.WorkFile;
    return true;
}

}  // namespace zantor
