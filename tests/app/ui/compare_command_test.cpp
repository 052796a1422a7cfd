#include "app/ui/compare_command.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "compare/ui/tgrid_form.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

// "C&ompare Two Files" in the NC Utilities menu shows the one File Compare
// window, whose help goes to the main window's help.
class CompareCommandTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\n",
               .settings = "[GENERAL]\nCMACHINE=Mill\n"},
              Opening::NotStarted);
    }
    void cleanup() { tearDown(); }

    void theMenuCommandShowsTheWindow() {
        auto* menu = form->findChild<QMenu*>("NcUtilitiesMenu");
        QVERIFY(menu);
        auto* action = form->findChild<QAction*>("actionCompareTwoFiles");
        QVERIFY(action);
        QVERIFY(menu->actions().contains(action));
        QCOMPARE(action->text(), QString("C&ompare Two Files"));
        QVERIFY(action->isEnabled());
        action->trigger();
        auto* window = form->findChild<CompareCommand*>()->window().window();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Zantor Pro -- File Compare"));
    }

    void settingsGoToTheSystemFolderAtTheEnd() {
        form->findChild<CompareCommand*>()->window().findChild<QAction*>("actionCaseSensitive")->trigger();
        form.reset();
        const std::string name = QCoreApplication::applicationFilePath().section('/', -1).toStdString();
        QVERIFY(dir->read(name + ".INI").find("Case Sensitive=1") != std::string::npos);
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::CompareCommandTest)
#include "compare_command_test.moc"
