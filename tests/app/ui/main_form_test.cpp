#include "app/ui/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "core/ini_store.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "scripted_interaction.h"
#include "session/app_session.h"
#include "temp_folder.h"
#include "users/ui/login_dialog.h"
#include "users/ui/password_dialog.h"

namespace zantor {

// Runs `action` on the modal dialog that opens next.
template <typename Dialog, typename Action>
void whenDialogOpens(Action action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        action(dialog);
    });
}

class MainFormTest : public QObject {
    Q_OBJECT
    testing::TempFolder* dir = nullptr;
    testing::ScriptedInteraction* ui = nullptr;

    // Password security on, with the one user "op" (no password).
    void useSecurity() {
        dir->write("ZTR2013.INI", "[GENERAL]\nUSESECURE=1\n");
        dir->write("VXNPWL.INI", "[Index]\nop=#\n[Defaults]\n_Entries=1\n[op]\nLevel=8\n");
    }

private slots:
    void init() {
        dir = new testing::TempFolder;
        ui = new testing::ScriptedInteraction;
        dir->write("WPOSTS.INI",
                   "[Machine Names]\nNumber=3\nMachine1=okuma\nMachine2=Haas\nMachine3=Mazak\n"
                   "[okuma]\nBAUD=2400\n");
    }
    void cleanup() {
        delete ui;
        delete dir;
    }

    void showsTheCaptionAndTheSortedMachineSelector() {
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QCOMPARE(form.windowTitle(), QString("Zantor Pro 2013"));
        QVERIFY(form.windowState() & Qt::WindowMaximized);
        QCOMPARE(form.mdiArea()->background().color(), QColor(13, 122, 242));
        QVERIFY(form.startUp({}));
        QComboBox* box = form.machineBox();
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(0), QString("Haas"));
        QCOMPARE(box->currentText(), QString("Haas"));
        QCOMPARE(box->statusTip(), QString("Select a Machine name"));
        QCOMPARE(form.loginAction()->text(), QString("&Logoff User: "));
        emit box->activated(2);
        QCOMPARE(session.state.CurrentMachine, std::string("okuma"));
        QCOMPARE(session.state.CurrentSettings.Comm.BaudNum, 4);
    }

    void closingSavesTheSettingsAndRemovesTheWorkFiles() {
        std::string sendFile, workFile;
        {
            AppSession session(dir->path(), dir->path(), *ui);
            TMainForm form(session, *ui);
            QVERIFY(form.startUp({}));
            sendFile = session.state.SendFile;
            workFile = session.state.WorkFile;
            QVERIFY(std::filesystem::exists(sendFile));
            emit form.machineBox()->activated(1);
            session.recentFiles[2] = "/nc/a.tap";
            form.close();
        }
        QVERIFY(!std::filesystem::exists(sendFile));
        QVERIFY(!std::filesystem::exists(workFile));
        const auto ini = IniStore::read(dir->file("ZTR2013.INI"));
        QCOMPARE(ini->readString("GENERAL", "CMACHINE", ""), std::string("Mazak"));
        QCOMPARE(ini->readString("MRU", "2", ""), std::string("/nc/a.tap"));
    }

    void droppedFilesComeToTheFrontOrOpenWithALogLine() {
        dir->write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QStringList opened, activated;
        const QString open = QString::fromStdString(dir->file("open.tap"));
        form.activateEditorWindow = [&](const QString& f) {
            activated << f;
            return f == open;
        };
        form.openEditorWindow = [&](const QString& f) { opened << f; };
        const QString other = QString::fromStdString(dir->file("new.tap"));
        form.openDroppedFiles({open, other});
        QCOMPARE(activated, (QStringList{open, other}));
        QCOMPARE(opened, QStringList{other});
        const std::string log = dir->read("ZTRDNC.LOG");
        QVERIFY(log.find("Open File [" + dir->file("new.tap") + "]") != std::string::npos);
        QVERIFY(log.find("open.tap") == std::string::npos);
    }

    void filesNamedOnTheCommandLineOpenUnderTheirFullName() {
        dir->write("PART.TAP", "G1\r\n");
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromStdString(dir->path())));
        const std::string full = (std::filesystem::current_path() / "PART.TAP").string();
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        QStringList opened;
        form.openEditorWindow = [&](const QString& f) { opened << f; };
        const bool started = form.startUp({"PART.TAP", "./PART.TAP"});
        QDir::setCurrent(before);
        QVERIFY(started);
        // Found again by the full name the Open dialog gives.
        QCOMPARE(opened, QStringList(2, QString::fromStdString(full)));
    }

    void aCancelledLoginAtStartEndsTheProgram() {
        dir->write("ZTR2013.INI", "[GENERAL]\nUSESECURE=1\n");
        dir->write("VXNPWL.INI", "[Index]\nop=#\n[Defaults]\n_Entries=1\n[op]\nLevel=8\n");
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        form.show();
        whenDialogOpens<TLoginDlg>([](TLoginDlg* d) {
            QCOMPARE(d->windowTitle(), QString("Login"));
            d->reject();
        });
        QVERIFY(!form.startUp({}));
        QVERIFY(!form.isVisible());
        QVERIFY(!std::filesystem::exists(session.state.SendFile));
    }

    // Right after start-up the desktop has not yet maximised the main window:
    // the login still comes up in the middle of where it is going to be.
    void theLoginComesUpCentredOnTheMainWindow() {
        useSecurity();
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        const QPoint expected = form.screen()->availableGeometry().center();
        QPoint centre;
        whenDialogOpens<TLoginDlg>([&centre](TLoginDlg* d) {
            centre = d->frameGeometry().center();
            d->reject();
        });
        QVERIFY(!form.startUp({}));
        QVERIFY2((centre - expected).manhattanLength() <= 4,
                 qPrintable(QString("%1,%2").arg(centre.x()).arg(centre.y())));
    }

    // Log off, cancel the login, then cancel the close question: the program
    // stays, with nobody logged in, and the caption says so.
    void theLoginCaptionFollowsALoginCancelledBeforeAKeptWindow() {
        useSecurity();
        AppSession session(dir->path(), dir->path(), *ui);
        TMainForm form(session, *ui);
        form.show();
        whenDialogOpens<TLoginDlg>([](TLoginDlg* d) {
            QTest::keyClicks(d->nameBox(), "op");
            d->accept();
        });
        QVERIFY(form.startUp({}));
        QCOMPARE(form.loginAction()->text(), QString("&Logoff User: op"));
        form.workspace().OpenEditorWindow("NONAME1", false)->InsertText("G1");
        whenDialogOpens<TLoginDlg>([](TLoginDlg* d) { d->reject(); });
        ui->answers.push_back(Answer::Cancel);
        form.loginAction()->trigger();
        QTRY_COMPARE(ui->texts(),
                     std::vector<std::string>{"NONAME1 has changed, do you wish to save?"});
        QVERIFY(form.isVisible());
        QCOMPARE(form.loginAction()->text(), QString("&Logoff User: "));
        form.workspace().editorWindows().front()->SetModified(false);
    }

    void loginDialogReturnsWhatWasTyped() {
        TLoginDlg dialog;
        dialog.nameBox()->setText("left over");
        whenDialogOpens<TLoginDlg>([](TLoginDlg* d) {
            QCOMPARE(d->nameBox()->text(), QString());
            QVERIFY(d->passwordBox()->echoMode() == QLineEdit::Password);
            QTest::keyClicks(d->nameBox(), "op");
            QTest::keyClicks(d->passwordBox(), "Mill5");
            d->accept();
        });
        const auto typed = dialog.ask();
        QVERIFY(typed);
        QCOMPARE(typed->name, std::string("op"));
        QCOMPARE(typed->password, std::string("Mill5"));
    }

    void passwordManagerInsertsAUserAndSwitchesLogging() {
        UserDatabase users(dir->file("VXNPWL.INI"));
        users.ensureExists();
        ActivityLog log(dir->file("ZTRDNC.LOG"));
        TPasswordDlg dialog(users, log, *ui);
        QCOMPARE(dialog.windowTitle(), QString("Zantor Password Manager"));
        whenDialogOpens<TPasswordDlg>([this](TPasswordDlg* d) {
            QCOMPARE(d->userList()->count(), 0);
            for (int i = 0; i < 8; ++i) QVERIFY(d->privilegeBox(i)->isChecked());
            QVERIFY(!d->privilegeBox(6)->isVisibleTo(d));
            d->nameBox()->setText("carl");
            d->passwordBox()->setText("pw");
            d->privilegeBox(0)->setChecked(false);
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text() == "&Insert") b->click();
            QCOMPARE(d->userList()->count(), 1);
            QCOMPARE(d->userList()->currentRow(), 0);
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text() == "&View Log") b->click();
            QCOMPARE(ui->texts(), std::vector<std::string>{"LOG File is Empty"});
            d->loggingBox()->setChecked(true);
            d->reject();
        });
        QVERIFY(dialog.run(false));
        QCOMPARE(users.GetUser("carl", *ui)->Level, 255 - 1);
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::MainFormTest)
#include "main_form_test.moc"
