#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "editor/navigation.h"

class QListWidget;

namespace zantor::editor {

// "Jump to Tool" and "Jump to Sub-Program": the landmark lines of a program
// in the editor's font, each with its line number. OK or a double-click
// chooses the selected line.
class JumpListDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 10024;

    explicit JumpListDialog(QWidget* parent = nullptr);
    void setEntries(const QString& caption, const std::vector<JumpEntry>& entries,
                    const QFont& font);
    // The line number of the selected entry; nothing when none is selected.
    std::optional<int> chosenLine() const;
    QListWidget* list() const { return list_; }

signals:
    void helpRequested(int context);

private:
    QListWidget* list_;
    std::vector<int> lines_;
};

}  // namespace zantor::editor
