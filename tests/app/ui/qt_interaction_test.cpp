#include "app/ui/qt_interaction.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>

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
};

}  // namespace zantor

QTEST_MAIN(zantor::QtInteractionTest)
#include "qt_interaction_test.moc"
