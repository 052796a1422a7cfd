#include "dnc/ui/send_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "core/file_io.h"
#include "editor/nc_document.h"
#include "scripted_interaction.h"
#include "session/run_state.h"
#include "temp_folder.h"

namespace zantor {

class SendDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempFolder> dir;
    std::unique_ptr<testing::ScriptedInteraction> ui;
    std::unique_ptr<RunState> state;
    std::unique_ptr<editor::NcDocument> doc;
    bool editorOpen = true;
    std::unique_ptr<SendPreparation> preparation;
    std::unique_ptr<TSendDlg> dialog;

    QRadioButton* choice(const char* text) {
        for (QRadioButton* b : dialog->findChildren<QRadioButton*>())
            if (b->text() == text) return b;
        qFatal("no choice %s", text);
    }
    void pressOk() {
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

private slots:
    void init() {
        dir = std::make_unique<testing::TempFolder>();
        ui = std::make_unique<testing::ScriptedInteraction>();
        state = std::make_unique<RunState>();
        state->SendFile = dir->write("ZTR1.TMP", "");
        state->WorkFile = dir->write("ZTR2.TMP", "");
        state->CurrentSettings.Comm.TapeCode = kTapeIso;
        doc = std::make_unique<editor::NcDocument>();
        doc->InsertText("G1\r\nM30");
        doc->SetFileName("/shop/P.TAP");
        editorOpen = true;
        preparation = std::make_unique<SendPreparation>(
            *state, *ui,
            [this]() -> editor::TextDocument* { return editorOpen ? doc.get() : nullptr; });
        dialog = std::make_unique<TSendDlg>(
            *preparation, [this] { return editorOpen ? doc->FileName() : std::string(); });
    }
    void cleanup() {
        dialog.reset();
        preparation.reset();
    }

    void showsTheActiveEditorFileOrNone() {
        QCOMPARE(dialog->windowTitle(), QString("Select What To Send to CNC"));
        dialog->show();
        QCOMPARE(dialog->editorFileShown(), QString("/shop/P.TAP"));
        QVERIFY(choice("Send &Current Editor File")->isChecked());
        dialog->hide();
        editorOpen = false;
        dialog->show();
        QCOMPARE(dialog->editorFileShown(), QString("NONE"));
        dialog->hide();
    }

    void okPreparesTheSendFileAndClosesWithOk() {
        dialog->show();
        QSignalSpy accepted(dialog.get(), &QDialog::accepted);
        pressOk();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(readFileBytes(state->SendFile), std::string("G1\r\nM30\r\n"));
        QCOMPARE(preparation->SentName(), std::string("/shop/P.TAP"));
    }

    void nothingToSendClosesWithCancel() {
        dialog->show();
        choice("Send &Selected Editor text")->setChecked(true);
        QCOMPARE(dialog->mode(), SendMode::SelectedEditorText);
        QSignalSpy rejected(dialog.get(), &QDialog::rejected);
        pressOk();
        QCOMPARE(rejected.count(), 1);
        QVERIFY(ui->messages.empty());
    }

    void editorChoicesCanBeDisabled() {
        dialog->setMode(SendMode::FromCursorToEnd);
        dialog->enableEditorChoices(false);
        QVERIFY(!choice("Send &Selected Editor text")->isEnabled());
        QVERIFY(!choice("Send &Editor Text From Cursor to End")->isEnabled());
        QCOMPARE(dialog->mode(), SendMode::CurrentEditorFile);
        dialog->enableEditorChoices(true);
        QVERIFY(choice("Send &Selected Editor text")->isEnabled());
    }

    void helpAsksForItsTopic() {
        QSignalSpy help(dialog.get(), &TSendDlg::helpRequested);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.first().first().toInt(), 115);
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::SendDialogTest)
#include "send_dialog_test.moc"
