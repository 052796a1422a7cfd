#include "app/ui/dnc_menu.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <filesystem>

#include "activity_log_lines.h"
#include "app/ui/main_form.h"
#include "core/file_io.h"
#include "core/ini_store.h"
#include "dnc/dnc_commands.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/ui/send_dialog.h"
#include "dnc/ui/tzdncterm.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "pty_pair.h"
#include "pty_simulator.h"
#include "scripted_interaction.h"
#include "session/app_session.h"
#include "temp_folder.h"
#include "users/ui/login_dialog.h"

namespace zantor {

namespace {

QStringList logLines(const testing::TempFolder& dir) {
    QStringList lines;
    for (const std::string& line : testing::activityLogLines(dir.file("ZTRDNC.LOG")))
        lines << QString::fromStdString(line);
    return lines;
}

}  // namespace

class DncMenuTest : public QObject {
    Q_OBJECT
    testing::TempFolder* dir = nullptr;
    testing::ScriptedInteraction* ui = nullptr;
    testing::PtyPair* line = nullptr;

    // "Mill" (device type 0) and "Cell" (3, a remote CNC control), both on
    // port 1, which is the pty; logging on.
    void writeSettings(const std::string& general) {
        IniStore::clearCache();
        dir->write("WPOSTS.INI",
                   "[Machine Names]\nNumber=2\nMachine1=Mill\nMachine2=Cell\n"
                   "[Mill]\nPORT=1\n[Cell]\nPORT=1\nDTYPE=3\n");
        dir->write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\nCMACHINE=Mill\n" + general +
                                      "[PORTS]\n1=" + line->slavePath() + "\n");
    }

    // "Lathe", the current machine, on port 9, whose device does not exist.
    void writeMachineWithoutDevice(const std::string& keys) {
        IniStore::clearCache();
        dir->write("WPOSTS.INI",
                   "[Machine Names]\nNumber=1\nMachine1=Lathe\n[Lathe]\nPORT=9\n" + keys);
        dir->write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Lathe\n[PORTS]\n9=/dev/no-such-port\n");
    }

    // A program in an editor window, then "Try without a machine".
    static TZDNCTERM& tryWithoutAMachine(TMainForm& form) {
        form.workspace().OpenEditorWindow("NONAME1", false)->InsertText("G1X1\r\nM30\r\n");
        form.findChild<QAction*>("DncSimulate")->trigger();
        return form.dncMenu().terminal();
    }

    // The simulated control punches its demonstration program into BACK.TAP.
    void receiveThePunch(TZDNCTERM& terminal, int timeout) {
        const std::string back = dir->file("BACK.TAP");
        std::filesystem::remove(back);
        ui->savedFiles.push_back(back);
        terminal.findChild<QPushButton*>("ReceiveButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!terminal.commands().Busy(), timeout);
        QVERIFY2(fileExists(back), ui->texts().empty() ? "no message" : ui->texts().back().c_str());
        QVERIFY(readFileBytes(back).find("O1001 (PUNCHED BY THE SIMULATED MACHINE)\r\n") !=
                std::string::npos);
    }

    // Send from the terminal, taking the send dialog as it opens.
    static void sendWithTheDialogAccepted(TZDNCTERM& terminal, int timeout) {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TSendDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->accept();
        });
        terminal.findChild<QPushButton*>("SendButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!terminal.commands().Busy(), timeout);
    }

private slots:
    void init() {
        dir = new testing::TempFolder;
        ui = new testing::ScriptedInteraction;
        line = new testing::PtyPair;
    }
    void cleanup() {
        delete line;
        delete ui;
        delete dir;
    }

    // "&Go", the toolbar button and the editor's "Dnc" open the one window;
    // when it is up they only bring it to the front.
    void goOpensTheTerminalForTheCurrentMachine() {
        writeSettings("");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QVERIFY(form.startUp({}));
        DncMenu& dnc = form.dncMenu();
        auto* menu = form.findChild<QMenu*>("DncMenu");
        QVERIFY(menu);
        QCOMPARE(menu->title(), QString("&DNC"));
        QAction* remote = form.findChild<QAction*>("DncRemote");
        QVERIFY(!remote->isVisible() && !remote->isEnabled());
        QCOMPARE(remote->shortcut(), QKeySequence(Qt::Key_F5));
        QAction* button = form.findChild<QAction*>("StartDncButton");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QString("Start DNC"));

        button->trigger();
        TZDNCTERM& terminal = dnc.terminal();
        QVERIFY(terminal.isVisible());
        QVERIFY(terminal.port().Open());
        QCOMPARE(terminal.machineText(), QString("Mill"));
        dnc.goAction()->trigger();
        form.findChild<QAction*>("contextDnc")->trigger();
        QCOMPARE(logLines(*dir), QStringList{"DNC Terminal: Machine Name [Mill]"});
        QVERIFY(ui->texts().empty());
        terminal.close();
        QVERIFY(!terminal.port().Open());
    }

    // Send asks with "Select What To Send to CNC" over the active editor
    // window; its program reaches the control on the line.
    void sendsTheActiveEditorsProgramThroughTheSendDialog() {
        writeSettings("");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QVERIFY(form.startUp({}));
        testing::PtySimulator control(line->masterFd(), {}, 0);
        form.workspace().OpenEditorWindow("NONAME1", false)->InsertText("G1X1\r\nM30\r\n");
        form.dncMenu().go();
        TZDNCTERM& terminal = form.dncMenu().terminal();
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TSendDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->mode(), SendMode::CurrentEditorFile);
            dialog->accept();
        });
        terminal.findChild<QPushButton*>("SendButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(control.received().find("G1X1\r\nM30\r\n") != std::string::npos,
                                 10000);
        QTRY_VERIFY(!terminal.commands().Busy());
        control.stop();
        QVERIFY(logLines(*dir).contains("DNC Send File [NONAME1]"));
    }

    // "Try without a machine": a machine whose port has no device sends to
    // and receives from the simulated control, and the status line says so.
    void tryWithoutAMachineSendsAndReceivesWithNoHardware() {
        writeMachineWithoutDevice("EOFTIME=2\n");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QVERIFY(form.startUp({}));
        TZDNCTERM& terminal = tryWithoutAMachine(form);
        QVERIFY(terminal.isVisible());
        QVERIFY(terminal.port().Open());
        QVERIFY(terminal.portStatusLine().endsWith(" (simulated machine)"));

        sendWithTheDialogAccepted(terminal, 10000);
        receiveThePunch(terminal, 15000);
        terminal.close();
        // For this run only: the settings file keeps its own device.
        QVERIFY(readFileBytes(dir->file("ZTR2013.INI")).find("9=/dev/no-such-port") !=
                std::string::npos);
    }

    // A machine set for a published protocol: the simulated control answers
    // by it, taking the station's send and punching for its receive.
    void tryWithoutAMachineAnswersByTheMachinesProtocol() {
        struct Case {
            const char* name;
            int protocol;
        };
        const Case cases[] = {{"XMODEM", 1}, {"YMODEM", 2}, {"ZMODEM", 3}, {"Kermit", 4}};
        for (const Case& c : cases) {
            qInfo("%s", c.name);
            writeMachineWithoutDevice("BAUD=115200\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nPROTOCOL=" +
                                      std::to_string(c.protocol) + "\n");
            AppSession session(dir->path(), dir->path(), *ui);
            TMainForm form(session, *ui);
            QVERIFY(form.startUp({}));
            TZDNCTERM& terminal = tryWithoutAMachine(form);
            QVERIFY(terminal.port().Open());

            sendWithTheDialogAccepted(terminal, 20000);
            QCOMPARE(terminal.transfer().lastCode(), 0);
            std::string received;
            QTRY_VERIFY_WITH_TIMEOUT(
                !(received = form.dncMenu().simulatedControlReceived()).empty(), 10000);
            QVERIFY(readFileBytes(received).find("G1X1\r\nM30\r\n") != std::string::npos);

            receiveThePunch(terminal, 20000);
            QCOMPARE(terminal.transfer().lastCode(), 0);
            terminal.close();
        }
    }

    void goWithoutTheDncPrivilegeIsRefusedAndLogged() {
        writeSettings("USESECURE=1\n");
        dir->write("VXNPWL.INI", "[Index]\nop=#\n[Defaults]\n_Entries=1\n[op]\nLevel=0\n");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        form.show();
        QTimer::singleShot(0, [] {
            auto* login = qobject_cast<TLoginDlg*>(QApplication::activeModalWidget());
            QVERIFY(login);
            QTest::keyClicks(login->nameBox(), "op");
            login->accept();
        });
        QVERIFY(form.startUp({}));
        form.dncMenu().goAction()->trigger();
        QVERIFY(!form.dncMenu().terminal().isVisible());
        QCOMPARE(ui->texts(),
                 std::vector<std::string>{"Insufficient Priviliges for this Function"});
        const QStringList lines = logLines(*dir);
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines.mid(lines.size() - 2),
                 QStringList({"Failed Attempt to Run DNC", "Failed Attempt to Start DNC"}));
    }

    // "CNCREMOTE Cell": the terminal comes up minimised running the remote
    // loop; closing it stops the service and the program ends with it.
    void aRemoteStartRunsTheStationUntilItIsClosed() {
        writeSettings("");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        form.show();
        QVERIFY(form.startUp({"CNCREMOTE", "Cell"}));
        TZDNCTERM& terminal = form.dncMenu().terminal();
        // The station runs inside the event loop: look at it from there.
        bool sawItRunning = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (!terminal.running()) return;
            probe.stop();
            sawItRunning = true;
            QVERIFY(terminal.isMinimized());
            QCOMPARE(terminal.windowTitle(), QString("REMOTE DNC (CNC) MODE"));
            QCOMPARE(session.state.CurrentMachine, std::string("Cell"));
            terminal.close();
        });
        probe.start(50);
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(sawItRunning);
        QVERIFY(!terminal.isVisible());
        QVERIFY(!terminal.port().Open());
        QVERIFY(logLines(*dir).contains("DNC Terminal: Machine Name [Cell]"));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::DncMenuTest)
#include "dnc_menu_test.moc"
