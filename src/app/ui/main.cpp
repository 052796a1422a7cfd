// zantor: the desktop program.
#include <QApplication>

#include "session/app_session.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_interaction.h"
#include "core/folders.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("zantor");
    QApplication::setOrganizationName("zantor");

    zantor::QtInteraction interaction;
    const std::string programFolder = zantor::defaultProgramFolder();
    zantor::AppSession session(programFolder, zantor::defaultSystemFolder(programFolder),
                               interaction);
    zantor::TMainForm mainForm(session, interaction);
    interaction.setParentWindow(&mainForm);
    mainForm.show();
    if (!mainForm.startUp(QApplication::arguments().mid(1))) return 0;
    return application.exec();
}
