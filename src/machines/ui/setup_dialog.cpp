#include "machines/ui/setup_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "core/text_util.h"
#include "machines/machine_files.h"
#include "machines/machine_report.h"
#include "machines/ui/setup_pages.h"
#include "session/app_session.h"

namespace zantor {

namespace {

QString qtext(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
}
std::string latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

constexpr const char* kMachineSetup = "Machine Setup";
constexpr const char* kNewMachine = "New Machine";

}  // namespace

TZTRSetupDlg::TZTRSetupDlg(AppSession& session, Interaction& interaction, QWidget* parent)
    : QDialog(parent), session_(session), interaction_(interaction) {
    setObjectName("ZTRSetupDlg");
    setWindowTitle("ZANTOR -- Machine / DNC Setup");
    setModal(true);
    pages = new SetupPages;

    Mnamebox = new QComboBox;
    Mnamebox->setObjectName("Mnamebox");
    Mnamebox->setToolTip("Select a Machine name");
    Mnamebox->setStatusTip("Select a Machine name");
    Mnamebox->setMinimumContentsLength(24);
    addButton = new QPushButton("&Add");
    saveButton = new QPushButton("&Save");
    deleteButton = new QPushButton("&Delete");
    renameButton = new QPushButton("&Rename");
    printButton = new QPushButton("&Print");
    restoreButton = new QPushButton("->&Restore");
    backupButton = new QPushButton("<-&Backup");
    for (QPushButton* b : {addButton, saveButton, deleteButton, renameButton, printButton,
                           restoreButton, backupButton})
        b->setAutoDefault(false);

    auto* nameLabel = new QLabel("Machine Name");
    nameLabel->setBuddy(Mnamebox);
    auto* machineRow = new QHBoxLayout;
    machineRow->addWidget(nameLabel);
    machineRow->addWidget(Mnamebox, 1);
    for (QPushButton* b : {addButton, saveButton, deleteButton, renameButton})
        machineRow->addWidget(b);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    buttons->addButton(printButton, QDialogButtonBox::ActionRole);
    buttons->addButton(restoreButton, QDialogButtonBox::ActionRole);
    buttons->addButton(backupButton, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TZTRSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TZTRSetupDlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kHelpContext); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(machineRow);
    layout->addWidget(buttons);

    connect(pages, &SetupPages::edited, this, [this] { SettingsModified = true; });
    connect(Mnamebox, &QComboBox::activated, this, &TZTRSetupDlg::machineChosen);
    connect(addButton, &QPushButton::clicked, this, &TZTRSetupDlg::addMachine);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveCurrent(); });
    connect(deleteButton, &QPushButton::clicked, this, &TZTRSetupDlg::deleteMachine);
    connect(renameButton, &QPushButton::clicked, this, &TZTRSetupDlg::renameMachine);
    connect(printButton, &QPushButton::clicked, this, &TZTRSetupDlg::printReport);
    connect(backupButton, &QPushButton::clicked, this, &TZTRSetupDlg::backup);
    connect(restoreButton, &QPushButton::clicked, this, &TZTRSetupDlg::restore);
    connect(pages->testPort, &QPushButton::clicked, this, [this] {
        if (testPort) testPort(pages->PortNum->currentIndex());
    });
    connect(pages->leaderUp, &QPushButton::clicked, this, [this] { stepLeader(1); });
    connect(pages->leaderDown, &QPushButton::clicked, this, [this] { stepLeader(-1); });
    for (int i = 0; i < 3; ++i)
        connect(pages->folderButtons[size_t(i)], &QPushButton::clicked, this,
                [this, i] { browseFolder(i); });
    for (int i = 0; i < 6; ++i)
        connect(pages->utilityButtons[size_t(i)], &QPushButton::clicked, this,
                [this, i] { editUtilityDefaults(UtilityKind(i)); });
}

MachineSettings TZTRSetupDlg::shownSettings() const {
    MachineSettings settings = session_.state.CurrentSettings;
    pages->store(settings);
    settings.Utilities = utilities_;
    return settings;
}

void TZTRSetupDlg::showEvent(QShowEvent* event) {
    prepare();
    QDialog::showEvent(event);
}

void TZTRSetupDlg::prepare() {
    pages->LatheXFormat->setCurrentIndex(0);
    fillMachineList(session_.state.CurrentMachine);
    loadCurrentMachine();
}

void TZTRSetupDlg::fillMachineList(const std::string& select) {
    std::vector<std::string> names;
    try {
        names = session_.machines.ListMachines();
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lessIgnoreCase(a, b);
    });
    const QSignalBlocker block(Mnamebox);
    Mnamebox->clear();
    for (const std::string& name : names) Mnamebox->addItem(qtext(name));
    int selected = -1;
    for (int i = 0; i < int(names.size()) && selected < 0; ++i)
        if (equalsIgnoreCase(names[size_t(i)], select)) selected = i;
    Mnamebox->setCurrentIndex(selected);
}

void TZTRSetupDlg::loadCurrentMachine() {
    session_.loadCurrentMachine();
    utilities_ = session_.state.CurrentSettings.Utilities;
    pages->load(session_.state.CurrentSettings);
    SettingsModified = false;
}

bool TZTRSetupDlg::settleEdits() {
    if (!SettingsModified) return true;
    switch (interaction_.message(MessageKind::Information, "Save Current Machine Settings?",
                                 Buttons::YesNoCancel)) {
        case Answer::Yes:
            return saveCurrent();
        case Answer::No:
            SettingsModified = false;
            return true;
        default:
            return false;
    }
}

bool TZTRSetupDlg::saveCurrent() {
    if (session_.state.CurrentMachine.empty()) {
        interaction_.showError("There is no machine to save: add one first.");
        return false;
    }
    const MachineSettings settings = shownSettings();
    checkMachineFolders(settings.Format, interaction_);
    try {
        session_.machines.SaveMachine(session_.state.CurrentMachine, settings);
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
        return false;
    }
    // The rest of the program works with what was saved from now on.
    session_.loadCurrentMachine();
    SettingsModified = false;
    return true;
}

void TZTRSetupDlg::machineChosen(int index) {
    const std::string chosen = latin1(Mnamebox->itemText(index));
    if (!settleEdits()) {
        fillMachineList(session_.state.CurrentMachine);
        return;
    }
    session_.state.CurrentMachine = chosen;
    loadCurrentMachine();
}

void TZTRSetupDlg::addMachine() {
    if (!settleEdits()) return;
    const std::string name =
        interaction_.inputText(kMachineSetup, "Enter a New Machine Name", kNewMachine)
            .value_or(kNewMachine);
    if (const std::string problem = machineNameProblem(name); !problem.empty()) {
        interaction_.showError(problem);
        return;
    }
    try {
        session_.machines.AddMachineName(name);
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
        return;
    }
    session_.state.CurrentMachine = name;
    fillMachineList(name);
    // The controls keep what they show; nothing is in the machine's section
    // until it is saved.
    SettingsModified = true;
}

void TZTRSetupDlg::deleteMachine() {
    // Without a machine there is no section to erase.
    if (session_.state.CurrentMachine.empty()) return interaction_.beep();
    if (interaction_.message(MessageKind::Confirmation, "Delete Current Machine ?",
                             Buttons::YesNo) != Answer::Yes)
        return;
    try {
        session_.machines.DeleteMachine(session_.state.CurrentMachine);
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
        return;
    }
    fillMachineList({});
    SettingsModified = false;
    session_.state.CurrentMachine = Mnamebox->count() ? latin1(Mnamebox->itemText(0)) : "";
    Mnamebox->setCurrentIndex(Mnamebox->count() ? 0 : -1);
    loadCurrentMachine();
}

void TZTRSetupDlg::renameMachine() {
    if (session_.state.CurrentMachine.empty()) return interaction_.beep();
    if (!settleEdits()) return;
    const std::string oldName = session_.state.CurrentMachine;
    const std::string name =
        interaction_.inputText(kMachineSetup, "Enter New Machine Name", kNewMachine)
            .value_or(kNewMachine);
    if (name == kNewMachine) return;
    const MachineSettings settings = shownSettings();
    checkMachineFolders(settings.Format, interaction_);
    try {
        if (const std::string problem = session_.machines.RenameMachine(oldName, name, settings);
            !problem.empty()) {
            interaction_.showError(problem);
            return;
        }
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
        return;
    }
    session_.state.CurrentMachine = name;
    fillMachineList(name);
    session_.loadCurrentMachine();
    SettingsModified = false;
}

void TZTRSetupDlg::printReport() {
    const std::string file = session_.state.TempDir + "SETUP.TMP";
    try {
        const std::string report = settingsReport(session_.state.CurrentMachine, shownSettings()) +
                                   dncSummary(*IniStore::read(session_.machines.path()));
        writeFileAtomically(file, report);
    } catch (const FileError& e) {
        interaction_.showError(e.path() + ": " + e.what());
        return;
    }
    if (showReport) showReport(file);
}

void TZTRSetupDlg::backup() {
    const auto folder = interaction_.browseFolder("Location to Backup to", {});
    if (!folder) return;
    if (backupMachineDatabase(session_.state.SystemFolder, *folder, interaction_))
        interaction_.showInformation("The machine database was copied to " + *folder);
}

void TZTRSetupDlg::restore() {
    const auto folder = interaction_.browseFolder("Location to Restore From", {});
    if (!folder || !restoreMachineDatabase(session_.state.SystemFolder, *folder, interaction_))
        return;
    // The list and the controls show the restored file, so that OK does not
    // write the old settings over it.
    fillMachineList(session_.state.CurrentMachine);
    loadCurrentMachine();
}

void TZTRSetupDlg::stepLeader(int step) {
    const QString text = pages->LeaderLen->text().trimmed();
    const auto value = parseInt(latin1(text));
    if (!value) {
        interaction_.showError("'" + latin1(pages->LeaderLen->text()) +
                               "' is not a valid integer value");
        return;
    }
    pages->LeaderLen->setText(QString::number(*value + step));
}

void TZTRSetupDlg::browseFolder(int which) {
    static const char* const titles[] = {"Default Folder for Uploads",
                                         "Default Folder for Downloads",
                                         "Default Folder to Load and Save Files"};
    QLineEdit* box = pages->folders[size_t(which)];
    const auto folder =
        interaction_.browseFolder(titles[which], folderTextToPath(latin1(box->text())));
    if (folder) box->setText(qtext(*folder));
}

void TZTRSetupDlg::editUtilityDefaults(UtilityKind kind) {
    if (!editUtility) return;
    UtilityDefaults edited = utilities_;
    if (editUtility(kind, edited) && !(edited == utilities_)) {
        utilities_ = edited;
        SettingsModified = true;
    }
}

bool TZTRSetupDlg::closingCheck() {
    if (!settleEdits()) return false;
    checkMachineFolders(shownSettings().Format, interaction_);
    return true;
}

void TZTRSetupDlg::accept() {
    if (!session_.state.CurrentMachine.empty() && !saveCurrent()) return;
    QDialog::accept();
}

void TZTRSetupDlg::reject() {
    if (!closingCheck()) return;
    // The machine chosen here stays current; its saved settings are loaded.
    session_.loadCurrentMachine();
    QDialog::reject();
}

void TZTRSetupDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

}  // namespace zantor
