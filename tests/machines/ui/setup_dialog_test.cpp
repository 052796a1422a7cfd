#include "machines/ui/setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/ini_store.h"
#include "dnc/port/clock.h"
#include "dnc/port/device_provider.h"
#include "dnc/port_check.h"
#include "machines/machine_report.h"
#include "machines/machine_section.h"
#include "machines/ui/setup_pages.h"
#include "pty_pair.h"
#include "scripted_interaction.h"
#include "session/app_session.h"
#include "temp_folder.h"

namespace zantor {

using Texts = std::vector<std::string>;

// A machine with every field away from its default, in forms that a save
// writes back unchanged.
constexpr const char* kFullMachine =
    "[Lathe 1]\nMTYPE=2\nABSINC=2\nFORMAT=3\nDIGL=2\nDIGR=3\nLXFORMAT=1\nARCTYPE=2\n"
    "DESCRIPTION=Big lathe\nRAPCODE=G0\nLINCODE=G1\nCWCODE=G2\nCCWCODE=G3\nSEQOUT=0\n"
    "STARTSEQ=100\nFDIGITS=3\nREDUN=1\nCMTSTART=;\nCMTEND=\nPROGID=:\nDEFEXT=NC\n"
    "DEFUPL=/srv/up\nDEFDNL=/srv/down\nDIRLS=/srv/ls\nRSSEQST=5\nRSINCR=5\nRSMAXDIG=5\n"
    "RSSEQCHR=N\nRSSKPCHR=(\nRSLZEROS=1\nCLBFROM=a\nCLBTO=b\nCLEFROM=c\nCLETO=d\n"
    "ARAMOUNT=2.5\nARREGSTR=XZ\nAROPPR=3\nMCREGORDER=NGXZ\nMCTABW=8\nRFBFREGS=0\n"
    "RFBCGHG=0\nRFBCHGCMT=0\nRFBUSESUB=0\nRFREGS=XZ\nNmname=Mill\nRFSUBO1=G90\n"
    "RFSUBN1=G91\nFCOPT1=1\nFCOPT6=1\nHUB=2\nPORT=7\nBAUD=19200\nDATABITS=8\nPARITY=O\n"
    "STOPBITS=1\nHDWHAND=1\nFLOW=4\nECHO=0\nAUTOLF=0\nANSI=0\nFUDIR=0\nFDDIR=0\nFLSDIR=0\n"
    "LLEN=12\nTCODE=1\nSINIT=/017\nSSEND=%\nESEND=%\nSRECV=DC2\nERECV=DC4\nSTRIPBLANK=1\n"
    "STRIPLFS=1\nRUNFCLEAN=1\nCRIN=3\nLFIN=1\nCROUT=0\nLFOUT=3\nXONWAIT=1\nXONWAIT1=1\n"
    "PROTOCOL=4\nDTYPE=3\nEOFTIME=45\nCDELAY=3\nLDELAY=4\nXOFFTIME=7\nMFILEDELAY=9\n"
    "DROPRTSDELAY=11\nKEEPRTSDELAY=12\nDFTASK=1\nRMTSTARTSEND=S(\nRMTSTARTRECV=R(\n"
    "RMTSTARTDIR=D(\nRMTSTARTPATH=P(\nRMTSTARTMSG=M(\nRMTENDSEND=]\nRMTENDRECV=]\n"
    "RMTENDDIR=]\nRMTENDPATH=]\nRMTENDMSG=]\nRMTSDELAY=1\nRMTRDELAY=2\nRMTDDELAY=3\n"
    "RMTOVERWRITE=1\n";

class SetupDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempFolder> dir, other;
    std::unique_ptr<testing::ScriptedInteraction> ui;
    std::unique_ptr<AppSession> session;
    std::unique_ptr<TZTRSetupDlg> dlg;

    void open(const std::string& database, const std::string& current) {
        dir->write("WPOSTS.INI", database);
        dir->write("ZTR2013.INI", "[GENERAL]\nCMACHINE=" + current + "\n");
        session = std::make_unique<AppSession>(dir->path(), dir->path(), *ui);
        session->create(FontSpec{"Monospace", 9});
        session->loadCurrentMachine();
        dlg = std::make_unique<TZTRSetupDlg>(*session, *ui);
        dlg->show();
    }
    MachineSettings stored(const std::string& name) {
        MachineSettings s;
        FolderFlags flags;
        session->machines.LoadMachine(name, s, flags);
        return s;
    }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < dlg->Mnamebox->count(); ++i) names << dlg->Mnamebox->itemText(i);
        return names;
    }
    void choose(const QString& name) {
        const int index = dlg->Mnamebox->findText(name);
        dlg->Mnamebox->setCurrentIndex(index);
        emit dlg->Mnamebox->activated(index);
    }
    static std::string twoMachines() {
        return "[Machine Names]\nNUMBER=3\nMACHINE1=mill 2\nMACHINE2=Lathe 1\nMACHINE3=Bendix\n" +
               std::string(kFullMachine) + "[mill 2]\nBAUD=9600\nM1N=Drill\nM1L1=G81\n";
    }

private slots:
    void init() {
        dir = std::make_unique<testing::TempFolder>();
        other = std::make_unique<testing::TempFolder>();
        ui = std::make_unique<testing::ScriptedInteraction>();
        IniStore::clearCache();
        // The default folders "\NCPRG" lie below the home folder: there they exist.
        qputenv("HOME", QByteArray::fromStdString(dir->path()));
        std::filesystem::create_directory(dir->file("NCPRG"));
    }
    void cleanup() {
        dlg.reset();
        session.reset();
        ui.reset();
        other.reset();
        dir.reset();
    }

    void showsTheCaptionThePagesAndTheSortedList() {
        open(twoMachines(), "LATHE 1");
        QCOMPARE(dlg->windowTitle(), QString("ZANTOR -- Machine / DNC Setup"));
        QCOMPARE(listed(), (QStringList{"Bendix", "Lathe 1", "mill 2"}));
        QCOMPARE(dlg->Mnamebox->currentText(), QString("Lathe 1"));
        QStringList tabs;
        for (int i = 0; i < dlg->pages->tabs->count(); ++i) tabs << dlg->pages->tabs->tabText(i);
        QCOMPARE(tabs, (QStringList{"Machine &Format", "Machine Format #&2", "&Communications",
                                    "&NC-Commands", "&Defaults"}));
        QCOMPARE(dlg->pages->PortNum->count(), 256);
        QCOMPARE(dlg->pages->PortNum->itemText(255), QString("Port #256"));
        QCOMPARE(dlg->pages->BitsNum->toolTip(), QString("Setects The Data Bits"));
        QCOMPARE(dlg->pages->NumFormat[3]->text(), QString("Leading && Trailing"));
        QVERIFY(!dlg->SettingsModified);
    }

    void aFullRecordGoesThroughTheDialogUnchanged() {
        open(twoMachines(), "Lathe 1");
        const MachineSettings before = stored("Lathe 1");
        QCOMPARE(dlg->pages->Description->text(), QString("Big lathe"));
        QCOMPARE(dlg->pages->BaudNum->currentText(), QString("19200"));
        QVERIFY(dlg->pages->ArcType[1]->isChecked());
        QVERIFY(dlg->shownSettings() == before);
        // Folders that exist, so that the folder check has nothing to ask.
        std::string full = kFullMachine;
        for (const char* folder : {"/srv/up", "/srv/down", "/srv/ls"})
            full.replace(full.find(folder), std::string(folder).size(), dir->path() + "f");
        std::filesystem::create_directory(dir->file("f"));
        dir->write("WPOSTS.INI", "[Machine Names]\nNUMBER=1\nMACHINE1=Lathe 1\n" + full);
        IniStore::clearCache();
        dlg->hide();
        dlg->show();
        const MachineSettings loaded = stored("Lathe 1");
        QVERIFY(dlg->shownSettings() == loaded);
        dlg->accept();
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(stored("Lathe 1") == loaded);
        // Every key is written back in the form it was read in.
        const IniFile written = IniFile::parse(dir->read("WPOSTS.INI"));
        const IniFile original = IniFile::parse("[Lathe 1]\n" + full.substr(full.find('\n') + 1));
        for (const std::string& key : original.keys("Lathe 1"))
            QCOMPARE(written.readString("Lathe 1", key, "<none>"),
                     original.readString("Lathe 1", key, ""));
        QVERIFY(ui->messages.empty());
    }

    void eachMachineTypeEnablesItsGroups() {
        open(twoMachines(), "mill 2");
        SetupPages& p = *dlg->pages;
        struct Row {
            int type;
            bool coordinates, format, latheX, codes;
            const char* coordinateTitle;
        };
        const Row rows[] = {{kMill, true, true, false, true, "Coordinate Mode"},
                            {kBendixMill, true, true, false, true, "Coordinate Mode"},
                            {kLathe, true, true, true, true, "Coordinate Mode"},
                            {kDxfFile, true, false, false, false, "DXF File Mode"},
                            {kPrintFile, false, false, false, false, "Coordinate Mode"},
                            {-1, false, false, false, false, "Coordinate Mode"}};
        for (const Row& r : rows) {
            p.MachType->setCurrentIndex(r.type);
            QCOMPARE(p.coordinateGroup->isEnabled(), r.coordinates);
            QCOMPARE(p.coordinateGroup->title(), QString(r.coordinateTitle));
            QCOMPARE(p.formatGroup->isEnabled(), r.format);
            QCOMPARE(p.LatheXFormat->isEnabled(), r.latheX);
            QCOMPARE(p.arcGroup->isEnabled(), r.codes);
            QCOMPARE(p.codeGroups[0]->isEnabled(), r.codes);
            QCOMPARE(p.sequenceGroup->isEnabled(), r.codes);
            QCOMPARE(p.FeedDigits->isEnabled(), r.codes);
            QVERIFY(p.Description->isEnabled());
            QVERIFY(p.CommentStart->isEnabled());
        }
        p.MachType->setCurrentIndex(kDxfFile);
        QCOMPARE(p.Abs->text(), QString("Mill"));
        QCOMPARE(p.Incr->text(), QString("Lathe"));
        p.MachType->setCurrentIndex(kMill);
        QCOMPARE(p.Abs->text(), QString("Abs"));
    }

    void eachDeviceTypeSetsTheRemotePageAndTheDelayLabels() {
        open(twoMachines(), "mill 2");
        SetupPages& p = *dlg->pages;
        const int remote = p.commTabs->indexOf(p.remotePage);
        struct Row {
            int device;
            bool remoteOn, askDest;
            const char* charLabel;
            const char* lineLabel;
        };
        const Row rows[] = {{kDeviceMachine, false, false, "Char Delay", "Line Delay"},
                            {kDeviceHubTerminal, false, false, "Time Out  ", "Term Lines"},
                            {kDeviceShopTerminal, false, false, "Time Out  ", "Term Lines"},
                            {kDeviceRemoteControl, true, false, "Char Delay", "Line Delay"},
                            {kDeviceDirectTransfer, false, true, "Char Delay", "Line Delay"}};
        for (const Row& r : rows) {
            p.DeviceType->setCurrentIndex(r.device);
            QCOMPARE(p.commTabs->isTabEnabled(remote), r.remoteOn);
            QCOMPARE(!p.DftAskDest->isHidden(), r.askDest);
            QCOMPARE(p.charDelayLabel->text(), QString(r.charLabel));
            QCOMPARE(p.lineDelayLabel->text(), QString(r.lineLabel));
        }
    }

    void editsAskBeforeAnotherMachineIsShown() {
        open(twoMachines(), "mill 2");
        dlg->pages->Description->setText("edited");
        QVERIFY(dlg->SettingsModified);
        // Cancel stays on the machine with its edits.
        ui->answers = {Answer::Cancel};
        choose("Lathe 1");
        QCOMPARE(dlg->Mnamebox->currentText(), QString("mill 2"));
        QCOMPARE(dlg->pages->Description->text(), QString("edited"));
        QCOMPARE(session->state.CurrentMachine, std::string("mill 2"));
        // No drops the edits and goes on.
        ui->answers = {Answer::No};
        choose("Lathe 1");
        QCOMPARE(session->state.CurrentMachine, std::string("Lathe 1"));
        QCOMPARE(stored("mill 2").Format.Description, std::string());
        // Yes saves them first (with folders the folder check finds).
        dlg->pages->CharDelay->setValue(5);
        for (QLineEdit* folder : dlg->pages->folders)
            folder->setText(QString::fromStdString(dir->path()));
        ui->answers = {Answer::Yes};
        choose("mill 2");
        QCOMPARE(stored("Lathe 1").Comm.CharDelay, 5);
        QCOMPARE(session->state.CurrentMachine, std::string("mill 2"));
        QCOMPARE(ui->texts(), Texts(3, "Save Current Machine Settings?"));
        QVERIFY(ui->messages[0].buttons == Buttons::YesNoCancel);
    }

    void addPutsTheNameInItsPlaceAndSavesOnlyOnSave() {
        open(twoMachines(), "mill 2");
        ui->inputs = {std::nullopt, std::string("Okuma")};
        dlg->addButton->click();
        QCOMPARE(ui->prompts, Texts{"Enter a New Machine Name"});
        QCOMPARE(listed(), (QStringList{"Bendix", "Lathe 1", "mill 2", "New Machine"}));
        QCOMPARE(dlg->Mnamebox->currentText(), QString("New Machine"));
        QVERIFY(!IniStore::read(session->machines.path())->hasSection("New Machine"));
        // The unsaved machine is an edit: the next add asks first.
        ui->answers = {Answer::Yes};
        dlg->addButton->click();
        QCOMPARE(stored("New Machine").Comm.BaudNum, 6);  // mill 2's settings, still shown
        QCOMPARE(dlg->Mnamebox->currentText(), QString("Okuma"));
        dlg->saveButton->click();
        QCOMPARE(session->machines.ListMachines(),
                 (Texts{"mill 2", "Lathe 1", "Bendix", "New Machine", "Okuma"}));
        QCOMPARE(stored("Okuma").Comm.BaudNum, 6);
    }

    void deleteAsksThenShowsTheFirstMachine() {
        open(twoMachines(), "mill 2");
        ui->answers = {Answer::No};
        dlg->deleteButton->click();
        QCOMPARE(listed().size(), 3);
        ui->answers = {Answer::Yes};
        dlg->deleteButton->click();
        QCOMPARE(ui->texts(), Texts(2, "Delete Current Machine ?"));
        QVERIFY(ui->messages[0].kind == MessageKind::Confirmation);
        QCOMPARE(listed(), (QStringList{"Bendix", "Lathe 1"}));
        QCOMPARE(dlg->Mnamebox->currentText(), QString("Bendix"));
        QCOMPARE(session->state.CurrentMachine, std::string("Bendix"));
        QVERIFY(!IniStore::read(session->machines.path())->hasSection("mill 2"));
    }

    void renameCarriesTheMachineAndItsMacros() {
        open(twoMachines(), "mill 2");
        dlg->pages->Description->setText("renamed");
        ui->answers = {Answer::No};  // drop the edit first
        ui->inputs = {std::string("New Machine")};
        dlg->renameButton->click();
        QCOMPARE(listed().size(), 3);
        QCOMPARE(ui->prompts, Texts{"Enter New Machine Name"});

        ui->inputs = {std::string("LATHE 1")};
        dlg->renameButton->click();
        QCOMPARE(ui->texts().back(), std::string("A machine named \"Lathe 1\" exists already."));
        QCOMPARE(listed(), (QStringList{"Bendix", "Lathe 1", "mill 2"}));

        ui->inputs = {std::string("VF-2")};
        dlg->renameButton->click();
        QCOMPARE(listed(), (QStringList{"Bendix", "Lathe 1", "VF-2"}));
        QCOMPARE(dlg->Mnamebox->currentText(), QString("VF-2"));
        QCOMPARE(session->state.CurrentMachine, std::string("VF-2"));
        QCOMPARE(stored("VF-2").Comm.BaudNum, 6);
        QCOMPARE(IniStore::read(session->machines.path())->readString("VF-2", "M1L1", ""),
                 std::string("G81"));
    }

    void backupAndRestoreGoThroughFolders() {
        open(twoMachines(), "mill 2");
        ui->folders = {other->path()};
        dlg->backupButton->click();
        QCOMPARE(other->read("WPOSTS.INI"), dir->read("WPOSTS.INI"));

        other->write("WPOSTS.INI", "\x01\x02binary\0junk");
        ui->folders = {other->path()};
        dlg->restoreButton->click();
        QCOMPARE(listed().size(), 3);
        QVERIFY(ui->texts().back().find("is not a machine database") != std::string::npos);

        other->write("WPOSTS.INI",
                     "[Machine Names]\nNUMBER=2\nMACHINE1=mill 2\nMACHINE2=Okuma\n"
                     "[mill 2]\nBAUD=2400\n");
        ui->folders = {other->path()};
        dlg->restoreButton->click();
        // The dialog shows the restored file at once, and OK keeps it.
        QCOMPARE(listed(), (QStringList{"mill 2", "Okuma"}));
        QCOMPARE(dlg->pages->BaudNum->currentText(), QString("2400"));
        dlg->accept();
        QCOMPARE(stored("mill 2").Comm.BaudNum, 4);
    }

    void testPortTellsWhetherTheDeviceOpens() {
        open(twoMachines(), "mill 2");
        SystemClock clock;
        TermiosDeviceProvider devices(clock);
        std::string path;
        dlg->testPort = [&](int) { testPortOpen(path, devices, *ui); };
        sim::PtyPair pty;
        path = pty.slavePath();
        dlg->pages->testPort->click();
        path = dir->file("no-such-tty");
        dlg->pages->testPort->click();
        QCOMPARE(ui->texts(), (Texts{"Port Sucessfully Opened", "Port Does Not Appear to Exist"}));
        QVERIFY(ui->messages[0].kind == MessageKind::Information);
        QVERIFY(ui->messages[1].kind == MessageKind::Error);
    }

    void printShowsTheReportAndTheSummary() {
        open(twoMachines(), "Lathe 1");
        std::string shown;
        dlg->showReport = [&](const std::string& file) { shown = file; };
        dlg->printButton->click();
        QCOMPARE(shown, session->state.TempDir + "SETUP.TMP");
        QCOMPARE(dir->read("SETUP.TMP"), settingsReport("Lathe 1", stored("Lathe 1")) +
                                             dncSummary(*IniStore::read(session->machines.path())));
    }

    void utilityDefaultsAreEditedThroughTheirDialogs() {
        open(twoMachines(), "mill 2");
        std::vector<TZTRSetupDlg::UtilityKind> asked;
        dlg->editUtility = [&](TZTRSetupDlg::UtilityKind kind, UtilityDefaults& d) {
            asked.push_back(kind);
            d.ResequenceIncrement = "25";
            return true;
        };
        dlg->pages->utilityButtons[0]->click();
        QCOMPARE(asked.size(), size_t(1));
        QVERIFY(asked[0] == TZTRSetupDlg::Resequence);
        QVERIFY(dlg->SettingsModified);
        dlg->saveButton->click();
        QCOMPARE(stored("mill 2").Utilities.ResequenceIncrement, std::string("25"));
    }

    void leaderSpinnerStepsAWholeNumberAndRefusesText() {
        open(twoMachines(), "Lathe 1");
        dlg->pages->leaderUp->click();
        QCOMPARE(dlg->pages->LeaderLen->text(), QString("13"));
        dlg->pages->leaderDown->click();
        dlg->pages->leaderDown->click();
        QCOMPARE(dlg->pages->LeaderLen->text(), QString("11"));
        dlg->pages->LeaderLen->setText("1x");
        dlg->pages->leaderUp->click();
        QCOMPARE(ui->texts(), Texts{"'1x' is not a valid integer value"});
    }

    void withoutMachinesDeleteAndRenameOnlyBeep() {
        open("[Machine Names]\nNUMBER=0\n", "");
        const std::string before = dir->read("WPOSTS.INI");
        dlg->deleteButton->click();
        dlg->renameButton->click();
        QCOMPARE(ui->beeps, 2);
        QVERIFY(ui->messages.empty());
        QCOMPARE(dir->read("WPOSTS.INI"), before);
    }

    void cancelWithEditsAsksAndMayStay() {
        open(twoMachines(), "mill 2");
        dlg->pages->Description->setText("edited");
        ui->answers = {Answer::Cancel};
        dlg->reject();
        QVERIFY(dlg->isVisible());
        ui->answers = {Answer::No, Answer::No};  // drop the edits; no folder made
        dlg->reject();
        QVERIFY(!dlg->isVisible());
        QCOMPARE(stored("mill 2").Format.Description, std::string());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::SetupDialogTest)
#include "setup_dialog_test.moc"
