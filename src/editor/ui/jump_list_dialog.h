#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "editor/navigation.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QProgressBar;

namespace zantor::editor {

// "Jump to Tool" and "Jump to Sub-Program": the landmark lines of a program
// in the editor's font, each with its line number. OK or a double-click
// chooses the selected line. While a long program is read for the list, the
// dialog shows how far the reading got and that Esc stops it.
class JumpListDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 10024;

    explicit JumpListDialog(QWidget* parent = nullptr);
    // Shown (once) while the list is read: the caption, no entries, the
    // progress of the reading and no button to press.
    void showReading(const QString& caption, int line, int lineCount);
    // The list read: the progress goes and the buttons come back.
    void setEntries(const QString& caption, const std::vector<JumpEntry>& entries,
                    const QFont& font);
    // The line number of the selected entry; nothing when none is selected.
    std::optional<int> chosenLine() const;
    QListWidget* list() const { return list_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* progressLabel() const { return progressLabel_; }

signals:
    void helpRequested(int context);

private:
    void setReading(bool reading);

    QListWidget* list_;
    QLabel* progressLabel_;
    QProgressBar* progress_;
    QDialogButtonBox* buttons_;
    std::vector<int> lines_;
};

}  // namespace zantor::editor
