#include "app/ui/qt_interaction.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "session/run_state.h"
#include "temp_folder.h"

namespace zantor {

class QtInteractionTest : public QObject {
    Q_OBJECT

private slots:
    void aNameTypedWithoutExtensionOpensWithTheDefaultOne() {
        testing::TempFolder dir;
        const std::string part = dir.write("O1234.TAP", "G1\r\n");
        QtInteraction interaction;
        FileDialogRequest request;
        request.folder = dir.path();
        request.filter = "NC-Code files (*.TAP);;All files (*)";
        request.defaultSuffix = "TAP";
        request.multiple = true;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile("O1234");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(interaction.openFiles(request), std::vector<std::string>{part});
    }

    // A name typed into Open need not be a file yet: the command offers to
    // create it. A folder's name still opens the folder.
    void openTakesATypedNameThatIsNoFileYet() {
        testing::TempFolder dir;
        QtInteraction interaction;
        FileDialogRequest request;
        request.folder = dir.path();
        request.filter = "NC-Code files (*.TAP);;All files (*)";
        request.defaultSuffix = "TAP";
        request.multiple = true;
        const auto typeNewPart = [] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile("NEWPART");
            // A refusal would come as a message box over the dialog.
            QTimer::singleShot(0, dialog, [dialog] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->reject();
                if (dialog->isVisible()) dialog->reject();
            });
            QMetaObject::invokeMethod(dialog, "accept");
        };
        QTimer::singleShot(0, typeNewPart);
        QCOMPARE(interaction.openFiles(request), std::vector<std::string>{dir.file("NEWPART.TAP")});
        // A single file to look at (the file viewer's) must exist.
        request.multiple = false;
        QTimer::singleShot(0, typeNewPart);
        QCOMPARE(interaction.openFiles(request), std::vector<std::string>{});
    }

    // Dialogs come up over the window the user works in, the file viewer
    // too, and are wide enough for the desktop to show their title.
    void messagesBelongToTheActiveWindowAndShowTheirTitle() {
        QWidget main;
        main.setGeometry(0, 0, 600, 400);
        main.show();
        QWidget viewer;
        viewer.setWindowFlag(Qt::Window);
        viewer.setGeometry(100, 100, 300, 200);
        viewer.show();
        QtInteraction interaction;
        interaction.setParentWindow(&main);
        for (QWidget* active : {&main, &viewer}) {
            active->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(active));
            QWidget* parent = nullptr;
            int width = 0;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                parent = box->parentWidget();
                width = box->width();
                box->accept();
            });
            interaction.showInformation("OK");
            QCOMPARE(parent, active);
            // The title is centred between an icon and three buttons.
            QFont bold = QApplication::font();
            bold.setBold(true);
            QVERIFY(width >= QFontMetrics(bold).horizontalAdvance(kApplicationTitle) + 120);
        }
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::QtInteractionTest)
#include "qt_interaction_test.moc"
