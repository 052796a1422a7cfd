// zantor: the desktop program.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "session/app_session.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_interaction.h"
#include "core/folders.h"
#include "core/version.h"

namespace {

// --version and --help are answered before Qt starts, so they work where no
// display is (an installation check, a package test, a shell over ssh).
bool answeredWithoutWindow(int argc, char** argv, int& status) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zantor %s\n", ZANTOR_VERSION);
            status = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: zantor [FILE...]\n"
                "       zantor CNCREMOTE MACHINE\n\n"
                "The NC editor and DNC station. FILEs are opened in editor windows;\n"
                "CNCREMOTE starts the remote DNC station of MACHINE unattended.\n\n"
                "  --version  print the version and exit\n"
                "  --help     print this text and exit\n\n"
                "Settings: $ZANTOR_HOME (default ~/.config/zantor); machine database and\n"
                "users: $ZANTOR_SYSTEM_DIR (default the same folder). Without a display,\n"
                "use zantor-cli.\n");
            status = 0;
            return true;
        }
    }
    return false;
}

// The example programs offered on a first start: installed beside the
// program, else those of the source tree the program was built from.
std::string examplesFolder() {
    const QString installed =
        QCoreApplication::applicationDirPath() + "/../share/zantor/examples";
    if (QDir(installed).exists()) return QDir(installed).canonicalPath().toStdString();
    return ZANTOR_SOURCE_EXAMPLES;
}

}  // namespace

int main(int argc, char** argv) {
    if (int status = 0; answeredWithoutWindow(argc, argv, status)) return status;

    QApplication application(argc, argv);
    QApplication::setApplicationName("zantor");
    QApplication::setOrganizationName("zantor");
    QApplication::setApplicationVersion(ZANTOR_VERSION);

    zantor::QtInteraction interaction;
    const std::string programFolder = zantor::defaultProgramFolder();
    zantor::AppSession session(programFolder, zantor::defaultSystemFolder(programFolder),
                               interaction);
    session.examplesFolder = examplesFolder();
    zantor::TMainForm mainForm(session, interaction);
    interaction.setParentWindow(&mainForm);
    mainForm.show();
    if (!mainForm.startUp(QApplication::arguments().mid(1))) return 0;
    return application.exec();
}
