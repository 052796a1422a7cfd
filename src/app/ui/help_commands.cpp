#include "app/ui/help_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/about_box.h"
#include "app/ui/help_window.h"
#include "app/ui/main_form.h"
#include "session/help_pages.h"

namespace zantor {

namespace {
constexpr int kLauncherHelpContext = 10050;
}

QString HelpCommands::findHelpFolder(const QString& programFolder) {
    const QString bin = QCoreApplication::applicationDirPath();
    std::vector<std::string> candidates = {(bin + "/../share/zantor/help").toStdString(),
                                           (bin + "/help").toStdString()};
#ifdef ZANTOR_SOURCE_HELP
    candidates.push_back(ZANTOR_SOURCE_HELP);
#endif
    candidates.push_back((programFolder + "help").toStdString());
    return QString::fromStdString(FindHelpFolder(candidates));
}

HelpCommands::HelpCommands(TMainForm& form)
    : QObject(&form),
      form_(form),
      window_(new HelpWindow(
          findHelpFolder(QString::fromStdString(form.session().state.ProgramFolder)), &form)) {
    auto* menu = new QMenu("&Help", &form);
    menu->setObjectName("HelpMenu");
    form.menuBar()->addMenu(menu);
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        std::function<void()> run;
    } entries[] = {
        {"actionHelpContents", "&Contents", "The contents of the help pages",
         [this] { window_->showContents(); }},
        {"actionHelpSearch", "&Topic Search", "Search the help pages for words",
         [this] { window_->search(QString()); }},
        {"actionDncHelp", "&DNC Help", "Sending and receiving programs",
         [this] { window_->showPage(kDncHelpPage); }},
        {"actionLauncherHelp", "Zantor Launcher Help", "How the program is laid out",
         [this] { showHelp(kLauncherHelpContext); }},
        {"actionAnalyzerHelp", "NC-Code Analyzer Help", "Handing a program to the analyzer",
         [this] { window_->showPage(kAnalyzerHelpPage); }},
        {"actionAbout", "&About...", "Display application About Box", [this] { about(); }},
    };
    for (const auto& e : entries) {
        QAction* action = menu->addAction(e.text);
        action->setObjectName(e.name);
        action->setStatusTip(e.hint);
        connect(action, &QAction::triggered, this, e.run);
        if (QString(e.name) == "actionAbout") menu->insertSeparator(action);
    }
}

void HelpCommands::showHelp(int context) {
    window_->showContext(context);
}

void HelpCommands::about() {
    TAboutBox box(&form_);
    box.exec();
}

}  // namespace zantor
