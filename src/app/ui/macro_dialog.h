#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace zantor {

class Interaction;

// "NC-Code Macros": the macros of the current machine, kept in its section
// of the machine database. A macro is edited in the contents and saved into
// the lowest free slot; OK expands the selected one, asking for each
// register value marked "#".
class MacroDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 100;

    MacroDialog(Interaction& interaction, QWidget* parent = nullptr);

    // Before each show: the database file and the machine whose macros show.
    void prepare(const std::string& databasePath, const std::string& machine);
    // The text OK produced (lines ending in CR LF).
    const std::string& expandedText() const { return expanded_; }
    void accept() override;

    void addMacro();
    void editName();
    void deleteMacro();
    // Saves the current macro; false when it could not be saved.
    bool saveCurrent();

    QListWidget* list() const { return list_; }
    QPlainTextEdit* contents() const { return contents_; }
    bool changed() const { return changed_; }
    const std::string& currentName() const { return current_; }

signals:
    void helpRequested(int context);

private:
    std::vector<std::string> listNames() const;
    void selectionChanged();
    void loadContents(const std::vector<std::string>& lines);
    // Runs `change` on the machine's slots and writes the file; false after
    // a file error, which is shown.
    template <typename Change>
    bool updateSlots(Change change);

    Interaction& interaction_;
    QListWidget* list_;
    QPlainTextEdit* contents_;
    QLabel* machineLabel_;
    std::string path_;
    std::string machine_;
    std::string current_;
    std::string expanded_;
    bool changed_ = false;
    bool loading_ = false;
};

}  // namespace zantor
