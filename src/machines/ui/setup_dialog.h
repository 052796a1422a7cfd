#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "machines/machine_settings.h"

class QComboBox;
class QPushButton;

namespace zantor {

class AppSession;
class Interaction;
class SetupPages;

// "ZANTOR -- Machine / DNC Setup": the editor of the machine database. The
// controls show the current machine; every edit marks it modified, and
// switching machines, adding, renaming or closing with unsaved edits asks
// whether to save them first (Yes saves, No drops them, Cancel stays).
class TZTRSetupDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 113;
    enum UtilityKind { Resequence, LineBeginEnd, Arithmetic, Reformat, MakeColumns, FileCleanup };

    TZTRSetupDlg(AppSession& session, Interaction& interaction, QWidget* parent = nullptr);

    // Set by the main window. Test Port on the port of a list index; the
    // utility dialog of a kind, shown modally over `defaults` (false when
    // cancelled or when there is none yet); the report file shown in the
    // results window.
    std::function<void(int portIndex)> testPort;
    std::function<bool(UtilityKind, UtilityDefaults& defaults)> editUtility;
    std::function<void(const std::string& reportFile)> showReport;

    SetupPages* pages;
    QComboBox* Mnamebox;
    QPushButton* addButton;
    QPushButton* saveButton;
    QPushButton* deleteButton;
    QPushButton* renameButton;
    QPushButton* printButton;
    QPushButton* restoreButton;
    QPushButton* backupButton;

    bool SettingsModified = false;
    // The controls as a machine record (the utility defaults as last edited).
    MachineSettings shownSettings() const;

public slots:
    void accept() override;
    void reject() override;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void prepare();
    void fillMachineList(const std::string& select);
    void loadCurrentMachine();
    // The question before an action that would drop edits; false: stay.
    bool settleEdits();
    bool saveCurrent();
    void machineChosen(int index);
    void addMachine();
    void deleteMachine();
    void renameMachine();
    void printReport();
    void backup();
    void restore();
    void stepLeader(int step);
    void browseFolder(int which);
    void editUtilityDefaults(UtilityKind kind);
    bool closingCheck();

    AppSession& session_;
    Interaction& interaction_;
    UtilityDefaults utilities_;
};

}  // namespace zantor
