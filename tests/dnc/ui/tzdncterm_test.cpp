#include "dnc/ui/tzdncterm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "dnc/dnc_commands.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/ui/protocol_status.h"
#include "dnc/ui/terminal_view.h"
#include "dnc/ui/waiting_box.h"
#include "dnc_window_rig.h"

namespace zantor {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::DncWindowRig;
using testing::Line;
using testing::MachineProfile;
using testing::MachineSimulator;

namespace {

// The send selection as a test makes it: the editor's text (or its
// selection) prepared into the send file, or disk files as they are.
class ScriptedChooser : public SendChooser {
public:
    ScriptedChooser(RunState& state) : state_(state) {}
    std::optional<SendChoice> chooseForSend(bool) override {
        ++asked;
        if (!editorText.empty()) {
            const std::string body = state_.WorkFile;
            writeFileAtomically(body, editorText);
            prepareSendFile(body, state_.SendFile,
                            tapeOptionsFor(state_.CurrentSettings, state_.Settings));
            return SendChoice{{}, editorName, state_.SendFile};
        }
        return SendChoice{files, files.empty() ? "" : files.front(), {}};
    }
    std::string editorText, editorName;
    std::vector<std::string> files;
    int asked = 0;

private:
    RunState& state_;
};

QPushButton* button(QWidget& window, const char* name) {
    auto* b = window.findChild<QPushButton*>(name);
    if (!b) qFatal("no button %s", name);
    return b;
}

QAction* debugItem(TZDNCTERM& window, const char* name) {
    auto* a = window.debugMenu()->findChild<QAction*>(name);
    if (!a) qFatal("no debugging item %s", name);
    return a;
}

// Saves what the window looks like when ZANTOR_SCREENSHOTS names a folder.
void screenshot(QWidget& window, const char* name) {
    const QByteArray folder = qgetenv("ZANTOR_SCREENSHOTS");
    if (!folder.isEmpty()) window.grab().save(QString(folder) + "/" + name + ".png");
}

// Runs the event loop without pause until `done` (QTRY's waits sleep
// between looks, which starves a port that paces itself).
template <typename Done>
bool runUntil(DncWindowRig& rig, Done done, int milliseconds = 10000) {
    return rig.clock->waitUntil(done, std::chrono::milliseconds(milliseconds),
                                WaitMode::Responsive);
}

// What the control on the pty has once it holds `expected`'s length: its
// thread reads the line at its own pace, after the window's send has ended.
std::string receivedOnPty(DncWindowRig& rig, const std::string& expected) {
    rig.ptyMachine->waitFor(
        [&](const MachineSimulator& m) { return m.receivedCount() >= expected.size(); },
        std::chrono::seconds(5));
    return rig.machine->received();
}

std::string screenText(TZDNCTERM& window) {
    return window.terminal()->screen().allText();
}

}  // namespace

class TzDncTermTest : public QObject {
    Q_OBJECT

private slots:
    void layoutFollowsTheDeviceType() {
        testing::TempFolder names;
        DncWindowRig rig(Line::Fake, testing::millSettings(names));
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        QCOMPARE(w.windowTitle(), QString("ZANTOR 2013 -- DNC TERMINAL"));
        QVERIFY(button(w, "SendButton")->isVisible());
        QVERIFY(button(w, "ReceiveButton")->isVisible());
        QVERIFY(!button(w, "StartButton")->isVisible());
        QVERIFY(!button(w, "HubButton")->isVisible());
        QVERIFY(!w.findChild<QCheckBox*>("ShutDownBox")->isVisible());
        QCOMPARE(button(w, "DebugButton")->toolTip(), QString("Debugging Tools"));
        QCOMPARE(w.statusText(), QString("Ready, On Line ..."));
        QCOMPARE(w.portStatusLine(), QString(" COM1 8N1 9600"));
        QCOMPARE(w.machineText(), QString("Mill"));
        QVERIFY(w.port().Open());
        QVERIFY(w.port().DTR());
        // The null modem's far end holds its lines up.
        QVERIFY(w.lampLit("CTS") && w.lampLit("DSR") && w.lampLit("DCD"));
        QVERIFY(!w.lampLit("ERR") && !w.lampLit("BRK"));
        QStringList words;
        for (QLabel* lamp : w.findChildren<QLabel*>())
            if (lamp->objectName().startsWith("Lamp")) words << lamp->text();
        QCOMPARE(words, (QStringList{"CTS", "DSR", "DCD", "TXD", "RXD", "ERR", "BRK"}));
        QCOMPARE(w.terminal()->screen().rows(), 12);
        QCOMPARE(w.terminal()->screen().columns(), 68);
        QSignalSpy help(&w, &TZDNCTERM::helpRequested);
        button(w, "HelpButton")->click();
        QCOMPARE(help.count(), 1);
        QCOMPARE(help[0][0].toInt(), 115);
        QStringList items;
        for (QAction* a : w.debugMenu()->actions()) items << a->text();
        QCOMPARE(items, (QStringList{"&Hex Mode", "Toggle &DTR", "Send Test &Pattern",
                                     "&Send Scan Test", "Send an XON", "Send an XOFF",
                                     "&Recieve Scan Test", "&Clear Screen", "New Send Test",
                                     "Receive Bin", "Verbose Mode", "Capture Terminal"}));
        debugItem(w, "SendScanTest")->trigger();
        debugItem(w, "ToggleDtr")->trigger();
        QVERIFY(!w.port().DTR());
        QVERIFY(!debugItem(w, "ToggleDtr")->isChecked());
        QCOMPARE(rig.ui.texts(), std::vector<std::string>{"Send Scan Test Not Implemented Yet"});

        // A shop terminal: Start in place of Send and Receive.
        MachineSettings shop = testing::millSettings(names);
        shop.Comm.DeviceType = kDeviceShopTerminal;
        DncWindowRig remote(Line::Fake, shop);
        TZDNCTERM& r = *remote.window;
        r.showForCurrentMachine();
        QCOMPARE(r.windowTitle(), QString("REMOTE DNC MODE"));
        QVERIFY(!button(r, "SendButton")->isVisible());
        QVERIFY(!button(r, "ReceiveButton")->isVisible());
        QVERIFY(button(r, "StartButton")->isVisible());
        QCOMPARE(r.statusText(), QString("Remote Mode ..."));
    }

    // Start runs the shop-terminal menu in the window until the terminal
    // quits; the window stays open and Done is usable again.
    void startServesTheShopTerminalMenu() {
        testing::TempFolder names;
        MachineSettings shop = testing::millSettings(names);
        shop.Comm.DeviceType = kDeviceShopTerminal;
        DncWindowRig rig(Line::Fake, shop);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        rig.machine->onReceived("Cmd ?", [](MachineSimulator& m) { m.type("Q\r"); });
        QSignalSpy stopped(&w, &TZDNCTERM::remoteStopped);
        button(w, "StartButton")->click();
        QCOMPARE(stopped.count(), 1);
        QVERIFY(!w.running());
        QVERIFY(screenText(w).find("*** SHUTDOWN ***") != std::string::npos);
        QVERIFY(w.findChild<QCheckBox*>("ShutDownBox")->isChecked());
        QVERIFY(button(w, "DoneButton")->isEnabled());
        QVERIFY(w.isVisible());
    }

    // The remote loop: a message typed at the control reaches the message
    // list; Done at the PC stops the loop and closes the window, DTR first.
    void startRunsTheRemoteLoopUntilDone() {
        testing::TempFolder names;
        MachineSettings cnc = testing::millSettings(names);
        cnc.Comm.DeviceType = kDeviceRemoteControl;
        DncWindowRig rig(Line::Fake, cnc);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        rig.machine->after(seconds(1), [](MachineSimulator& m) { m.type("(MSG TOOL 5 WORN)"); });
        auto* messages = w.findChild<QListWidget*>("MessageList");
        rig.machine->after(seconds(30), [&w](MachineSimulator&) {
            QVERIFY(w.running());
            QCOMPARE(w.windowTitle(), QString("REMOTE DNC (CNC) MODE"));
            QVERIFY(screenText(w).find("Waiting For Remote CNC Machine") != std::string::npos);
            screenshot(w, "remote-mode");
            w.close();  // refused while the service runs
            QVERIFY(w.isVisible());
            button(w, "DoneButton")->click();
        });
        button(w, "StartButton")->click();
        QCOMPARE(messages->count(), 1);
        QVERIFY(messages->item(0)->text().endsWith(": TOOL 5 WORN"));
        QVERIFY(!w.isVisible());
        QVERIFY(!w.port().Open());
        const auto& changes = rig.fake->lineChanges();
        QVERIFY(changes.size() >= 2);
        QVERIFY(changes[changes.size() - 2].open && !changes[changes.size() - 2].dtr);
        QVERIFY(!changes.back().open);
    }

    // A disk file through the open dialog, then the editor's text, over a
    // pty to the simulated control; the window during the send and after.
    void sendsADiskFileAndTheEditorsText() {
        testing::TempFolder names;
        MachineSettings settings = testing::millSettings(names);
        settings.Comm.BaudNum = 10;  // 115200
        DncWindowRig rig(Line::Pty, settings, MachineProfile{}, 11520);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        QVERIFY(w.port().Open());
        std::string program = "%\r\nO1000\r\n";
        for (int i = 0; i < 800; ++i) program += "N" + std::to_string(i) + " G01 X1.5 Y2.5\r\n";
        program += "M30\r\n%\r\n";
        const std::string file = rig.folder.write("O1000.TAP", program);
        rig.ui.openedFiles = {{file}};
        button(w, "SendButton")->click();
        QVERIFY(w.commands().Busy());
        QVERIFY(!button(w, "SendButton")->isEnabled());
        QVERIFY(!button(w, "ReceiveButton")->isEnabled());
        QVERIFY(w.progressWindow()->isVisible());
        QVERIFY(runUntil(rig, [&] { return rig.machine->receivedCount() > 2000; }));
        screenshot(w, "during-send");
        screenshot(*w.progressWindow(), "progress-window");
        QVERIFY(runUntil(rig, [&] { return !w.commands().Busy(); }));
        screenshot(w, "after-send");
        QCOMPARE(receivedOnPty(rig, program), program);
        QVERIFY(rig.machine->faults().empty());
        QCOMPARE(w.statusText(), QString("Ready, On Line"));
        QVERIFY(button(w, "SendButton")->isEnabled());
        QVERIFY(!w.progressWindow()->isVisible());
        QVERIFY(rig.ui.messages.empty());  // DNCALERT is off

        // The editor's selection, through the send selection the window asks.
        ScriptedChooser editor(rig.state);
        editor.editorText = "N10 G01 X2.\r\nN20 M30\r\n";
        editor.editorName = "/nc/O2000.TAP";
        w.setSendChooser(editor);
        rig.state.Settings.DncAlert = true;
        button(w, "SendButton")->click();
        QVERIFY(runUntil(rig, [&] { return !w.commands().Busy(); }));
        QCOMPARE(receivedOnPty(rig, program + editor.editorText), program + editor.editorText);
        QCOMPARE(rig.logLines(), (std::vector<std::string>{"DNC Send File [" + file + "]",
                                                           "DNC Send File [/nc/O2000.TAP]"}));
        QCOMPARE(rig.ui.texts(), std::vector<std::string>{"Down/Up Load Successful"});
    }

    void multiFileSendGoesLastToFirst() {
        testing::TempFolder names;
        MachineSettings settings = testing::millSettings(names);
        settings.Comm.SendInit = "/018";
        DncWindowRig rig(Line::Pty, settings);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        rig.state.CurrentMachComRec.MultiFileDelay = 0;  // no pause between files here
        const std::string a = rig.folder.write("A.TAP", "O1\r\nM30\r\n");
        const std::string b = rig.folder.write("B.TAP", "O2\r\nM30\r\n");
        const std::string c = rig.folder.write("C.TAP", "O3\r\nM30\r\n");
        rig.ui.openedFiles = {{a, b, c}};
        button(w, "SendButton")->click();
        QVERIFY(!w.commands().Busy());
        QVERIFY(rig.ptyMachine->waitFor(
            [](const MachineSimulator& m) { return m.receivedCount() >= 30; },
            std::chrono::seconds(5)));
        QCOMPARE(rig.machine->received(),
                 std::string("\x12O3\r\nM30\r\n\x12O2\r\nM30\r\n\x12O1\r\nM30\r\n"));
        QCOMPARE(screenText(w), c + "\nDone with: " + c + "\n" + b + "\nDone with: " + b + "\n" +
                                    a + "\nDone with: " + a);
    }

    // The receive, with the overwrite question, in each tape code: the file
    // holds what the conversion back from the machine's code gives.
    void receivesInEachTapeCode() {
        const std::string punched = "%\r\nO1001 (TOOL 1)\r\nN10 G01 X1.5\r\nM30\r\n%\r\n";
        const std::pair<int, std::string> codes[] = {
            // EIA has one code for "(" and ":", and ")" reads back as "~".
            {kTapeEia, "%\r\nO1001 :TOOL 1~\r\nN10 G01 X1.5\r\nM30\r\n%\r\n"},
            {kTapeAscii, punched},
            {kTapeIso, punched},
        };
        for (const auto& [code, expected] : codes) {
            testing::TempFolder names;
            MachineSettings settings = testing::millSettings(names);
            settings.Comm.TapeCode = code;
            settings.Comm.StartRecv = "%";
            const TapeCode tape = tapeCodeOf(code);
            DncWindowRig rig(Line::Pty, settings, MachineProfile{tape});
            TZDNCTERM& w = *rig.window;
            w.showForCurrentMachine();
            rig.machine->onReceived(std::string(1, char(inTapeCode('%', tape))),
                                    [&](MachineSimulator& m) { m.punch(punched); });
            const std::string path = rig.folder.write("O1001.TAP", "old program");
            rig.ui.savedFiles = {path};
            rig.ui.answers = {Answer::Yes};
            button(w, "ReceiveButton")->click();  // returns when the receive has ended
            QCOMPARE(rig.ui.texts(),
                     std::vector<std::string>{"Do you really want to overwrite O1001.TAP?"});
            QCOMPARE(rig.folder.read("O1001.TAP"), expected);
            QCOMPARE(rig.logLines(),
                     (std::vector<std::string>{"DNC Receive Overwrite File [" + path + "]",
                                               "DNC Receive File [" + path + "]"}));
            QCOMPARE(w.statusText(), QString("Ready, On Line"));
            QVERIFY(!w.commands().Busy());
        }
    }

    void waitsForXonAndStopsWaiting() {
        testing::TempFolder names;
        MachineSettings settings = testing::millSettings(names);
        settings.Comm.SendWaitXon = 1;
        DncWindowRig rig(Line::Pty, settings);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        const std::string file = rig.folder.write("O1.TAP", "G1 X1\r\n");

        // Stopped: nothing goes out.
        rig.ui.openedFiles = {{file}};
        bool shown = false;
        QString text;
        QTimer::singleShot(300, [&] {
            shown = w.waitingBox()->isVisible();
            text = w.waitingBox()->textLabel()->text();
            QVERIFY(w.waitingBox()->windowTitle() == "ZANTOR DNC");
            w.waitingBox()->stopBox()->click();
        });
        button(w, "SendButton")->click();
        QVERIFY(shown);
        QCOMPARE(text, QString("Waiting for Mill to send an XON ..."));
        QVERIFY(!w.waitingBox()->isVisible());
        QVERIFY(!w.transfer().inProgress());
        QTest::qWait(100);
        QCOMPARE(rig.machine->received(), std::string());
        QCOMPARE(w.port().SWFlowOptions(), TSWFlowOptions::swfBoth);

        // The machine says XON after other chatter: the send goes.
        rig.ui.openedFiles = {{file}};
        rig.machine->after(milliseconds(300), [](MachineSimulator& m) { m.type("?\x13\x11"); });
        button(w, "SendButton")->click();
        QVERIFY(runUntil(rig, [&] { return !w.commands().Busy(); }));
        QCOMPARE(receivedOnPty(rig, "G1 X1\r\n"), std::string("G1 X1\r\n"));
    }

    // RTS held up, then dropped, after the transfer, in simulated time.
    void holdsThenDropsRts() {
        testing::TempFolder names;
        MachineSettings settings = testing::millSettings(names);
        settings.Comm.KeepRtsDelay = 2;
        settings.Comm.DropRtsDelay = 1;
        DncWindowRig rig(Line::Fake, settings);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        ScriptedChooser editor(rig.state);
        editor.editorText = "G1\r\n";
        editor.editorName = "O1.TAP";
        w.setSendChooser(editor);
        button(w, "SendButton")->click();
        rig.manual->advance(seconds(5));
        QVERIFY(!w.commands().Busy());
        QCOMPARE(rig.machine->received(), std::string("G1\r\n"));
        // RTS is up when the last byte has left and for 2 s more, down for
        // 1 s, then up again.
        const Clock::Duration sent = rig.fake->peer().arrivals().back().at;
        std::vector<std::pair<Clock::Duration, bool>> rts;
        for (const auto& c : rig.fake->lineChanges())
            if (c.at >= sent && (rts.empty() || rts.back().second != c.rts))
                rts.emplace_back(c.at, c.rts);
        QCOMPARE(rts.size(), size_t(3));
        QVERIFY(rts[0].second && !rts[1].second && rts[2].second);
        const Clock::Duration held = rts[1].first - sent;
        QVERIFY(held >= seconds(2) && held < seconds(2) + ticksToDuration(1));
        QCOMPARE(rts[2].first - rts[1].first, Clock::Duration(seconds(1)));
        QVERIFY(screenText(w).find("Keeping RTS Up\nDone Keeping RTS Up\nDropping RTS\n"
                                   "Enable RTS") != std::string::npos);
    }

    // Hex mode, typed keys with echo and auto LF, capture, and the status
    // while the machine holds the line.
    void terminalScreenAndLineStatus() {
        testing::TempFolder names;
        DncWindowRig rig(Line::Fake, testing::millSettings(names));
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        debugItem(w, "CaptureTerminal")->trigger();
        debugItem(w, "HexMode")->trigger();
        QVERIFY(w.hexMode());
        rig.machine->type("G\r\n");
        rig.manual->advance(milliseconds(4));  // three characters at 9600 baud
        QVERIFY(w.lampLit("RXD"));
        rig.manual->advance(milliseconds(100));
        QVERIFY(!w.lampLit("RXD"));  // out a tick after the input was taken
        QCOMPARE(screenText(w), std::string("G[47],<cr><lf>"));
        screenshot(w, "hex-mode");
        debugItem(w, "HexMode")->trigger();
        debugItem(w, "ClearScreen")->trigger();
        QCOMPARE(screenText(w), std::string());
        QTest::keyClicks(w.terminal(), "G1");
        QTest::keyClick(w.terminal(), Qt::Key_Return);
        rig.manual->advance(milliseconds(100));
        QCOMPARE(rig.machine->received(), std::string("G1\r\n"));
        QCOMPARE(screenText(w), std::string("G1"));  // echoed, then a new line
        QCOMPARE(w.terminal()->screen().cursorRow(), 1);
        debugItem(w, "CaptureTerminal")->trigger();
        QCOMPARE(rig.folder.read("ZTR2013.LOG"), std::string("G[47],<cr><lf>\r\nG1\n"));

        // A long send that the machine holds by XOFF for a while.
        ScriptedChooser editor(rig.state);
        editor.editorText = std::string(3000, 'N') + "\r\n";
        editor.editorName = "O1.TAP";
        w.setSendChooser(editor);
        button(w, "SendButton")->click();
        QCOMPARE(w.statusText(), QString("Downloading To CNC ..."));
        rig.manual->advance(milliseconds(500));
        rig.machine->type("\x13");
        rig.manual->advance(milliseconds(200));
        QCOMPARE(w.statusText(), QString("Held by XON"));
        const size_t held = rig.machine->receivedCount();
        rig.manual->advance(seconds(2));
        QVERIFY(rig.machine->receivedCount() <= held + 2);
        rig.machine->type("\x11");
        rig.manual->advance(milliseconds(200));
        QCOMPARE(w.statusText(), QString("Downloading To CNC ..."));
        rig.manual->advance(seconds(5));
        QVERIFY(!w.commands().Busy());
        QCOMPARE(rig.machine->received(), "G1\r\n" + editor.editorText);
    }

    void cancelFromTheProgressWindow() {
        testing::TempFolder names;
        DncWindowRig rig(Line::Pty, testing::millSettings(names), MachineProfile{}, 5000);
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        const std::string file = rig.folder.write("BIG.TAP", std::string(100000, 'N') + "\r\n");
        rig.ui.openedFiles = {{file}};
        button(w, "SendButton")->click();
        QVERIFY(runUntil(rig, [&] { return rig.machine->receivedCount() > 1000; }));
        QVERIFY(w.progressWindow()->isVisible());
        QTest::mouseClick(w.progressWindow()->cancelButton(), Qt::LeftButton);
        QVERIFY(!w.transfer().inProgress());
        QCOMPARE(w.transfer().lastCode(), -6005);
        QCOMPARE(rig.ui.texts(),
                 std::vector<std::string>{"Cancel Pressed, Data May Have Been Lost !!"});
        QCOMPARE(rig.ui.messages[0].kind, MessageKind::Warning);
        QVERIFY(runUntil(rig, [&] { return !w.commands().Busy(); }));
        QCOMPARE(w.statusText(), QString("Ready, On Line"));
        QVERIFY(rig.machine->receivedCount() < 50000);
    }

    // Closing asks while a transfer runs; the port closes with DTR low first.
    void closingDuringATransferAsksFirst() {
        testing::TempFolder names;
        DncWindowRig rig(Line::Fake, testing::millSettings(names));
        TZDNCTERM& w = *rig.window;
        w.showForCurrentMachine();
        ScriptedChooser editor(rig.state);
        editor.editorText = std::string(20000, 'N') + "\r\n";
        w.setSendChooser(editor);
        button(w, "SendButton")->click();
        rig.manual->advance(seconds(1));
        rig.ui.answers = {Answer::No};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(w.transfer().inProgress());
        QCOMPARE(rig.ui.texts(), std::vector<std::string>{
                                     "A transfer is running. Cancel it and close the DNC terminal?"});
        rig.ui.answers = {Answer::Yes};
        w.close();
        rig.manual->advance(milliseconds(100));
        QApplication::processEvents();
        QVERIFY(!w.isVisible());
        QVERIFY(!w.port().Open());
        QCOMPARE(rig.ui.texts().back(), std::string("Cancel Pressed, Data May Have Been Lost !!"));
        QVERIFY(rig.machine->receivedCount() < 5000);
        const auto& changes = rig.fake->lineChanges();
        QVERIFY(changes.size() >= 2);
        QVERIFY(changes[changes.size() - 2].open && !changes[changes.size() - 2].dtr);
        QVERIFY(!changes.back().open);

        // Shown again, it opens its port again.
        w.showForCurrentMachine();
        QVERIFY(w.port().Open());
        QVERIFY(w.port().DTR());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::TzDncTermTest)
#include "tzdncterm_test.moc"
