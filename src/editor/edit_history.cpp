#include "editor/edit_history.h"

#include <utility>

namespace zantor::editor {

size_t EditRecord::bytes() const {
    size_t total = sizeof(EditRecord) + spanText.size();
    for (const auto& p : paragraphs) total += p.size() + 2;
    return total;
}

void EditHistory::pushUndo(EditRecord edit) {
    undoBytes_ += edit.bytes();
    undo_.push_back(std::move(edit));
    while (undo_.size() > 1 && undoBytes_ > capacity_) {
        undoBytes_ -= undo_.front().bytes();
        undo_.pop_front();
    }
}

void EditHistory::record(EditRecord edit) {
    redo_.clear();
    pushUndo(std::move(edit));
}

EditRecord EditHistory::takeUndo() {
    EditRecord edit = std::move(undo_.back());
    undo_.pop_back();
    undoBytes_ -= edit.bytes();
    return edit;
}

EditRecord EditHistory::takeRedo() {
    EditRecord edit = std::move(redo_.back());
    redo_.pop_back();
    return edit;
}

void EditHistory::pushUndone(EditRecord edit) {
    redo_.push_back(std::move(edit));
}

void EditHistory::pushRedone(EditRecord edit) {
    pushUndo(std::move(edit));
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
    undoBytes_ = 0;
}

}  // namespace zantor::editor
