#include "app/ui/external_commands.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QComboBox>
#include <QProcess>
#include <QStandardPaths>

#include "app/ui/main_form.h"
#include "core/file_io.h"
#include "core/ini_file.h"
#include "core/interaction.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "session/analyzer_handoff.h"
#include "session/file_commands.h"

namespace zantor {

namespace {

// Desktop calculators, the first found on the PATH is started.
const char* const kCalculators[] = {"gnome-calculator", "kcalc",    "galculator",
                                    "qalculate-gtk",    "mate-calc", "xcalc"};

constexpr int kNotFound = 2;
constexpr int kCannotRun = 5;
constexpr int kStarted = 33;

}  // namespace

int RunExternal(Interaction& interaction, const QString& command, const QStringList& arguments,
                const QString& folder) {
    QStringList words = QProcess::splitCommand(command);
    const QString program = words.isEmpty() ? QString() : words.takeFirst();
    const QString path = program.contains('/') ? (QFileInfo(program).isFile() ? program : QString())
                                               : QStandardPaths::findExecutable(program);
    int result = kStarted;
    if (path.isEmpty())
        result = kNotFound;
    else if (!QProcess::startDetached(path, words + arguments, folder))
        result = kCannotRun;
    if (result <= 32)
        interaction.message(MessageKind::Information,
                            "Cannot Execute (" + std::to_string(result) + ") [" +
                                command.toStdString() + "]",
                            Buttons::Ok);
    return result;
}

ExternalCommands::ExternalCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form), form_(form), interaction_(interaction) {
    auto* analyzer = new QAction("Run &NC-Code Analyzer", &form);
    analyzer->setObjectName("actionAnalyzer");
    analyzer->setStatusTip("Save the program and hand it to the NC-Code Analyzer");
    connect(analyzer, &QAction::triggered, this, &ExternalCommands::runAnalyzer);
    if (auto* menu = form.findChild<QMenu*>("NcUtilitiesMenu")) menu->addAction(analyzer);
    auto* calculator = new QAction("&Calculator", &form);
    calculator->setObjectName("actionSystemCalculator");
    calculator->setStatusTip("Start the desktop's calculator");
    connect(calculator, &QAction::triggered, this, &ExternalCommands::startCalculator);
    if (auto* menu = form.findChild<QMenu*>("CalculatorsMenu"))
        menu->insertAction(menu->actions().value(0), calculator);
}

QString ExternalCommands::analyzerCommand() const {
    return QString::fromLatin1(form_.session().state.Settings.Analyzer.c_str()).trimmed();
}

void ExternalCommands::runAnalyzer() {
    editor::EditorWorkspace& workspace = form_.workspace();
    if (!workspace.RequireActiveDocument()) return;
    // Told before anything is saved or closed, so the click costs nothing.
    const QString command = analyzerCommand();
    if (command.isEmpty()) {
        interaction_.showInformation(kNoAnalyzerSet);
        return;
    }
    const RunState& state = form_.session().state;
    if (state.Settings.NcWarn &&
        interaction_.message(MessageKind::Confirmation, kAnalyzerQuestion, Buttons::YesNo) !=
            Answer::Yes)
        return;
    if (workspace.fileCommands().save() != FileCommands::SaveResult::Saved) return;
    editor::TMDIChild* window = workspace.ActiveEditorWindow();
    if (!window) return;
    const std::string program = window->FileName();
    QMdiSubWindow* frame = form_.mdiArea()->activeSubWindow();
    if (frame && !frame->close()) return;
    try {
        WriteAnalyzerHandoff(state.ProgramFolder + kAnalyzerSettingsFile, program,
                             form_.machineBox()->currentText().toStdString());
    } catch (const std::exception& e) {
        interaction_.message(MessageKind::Error, e.what(), Buttons::Ok);
        return;
    }
    RunExternal(interaction_, command, {kAnalyzerParameters},
                QString::fromStdString(state.ProgramFolder));
}

void ExternalCommands::startCalculator() {
    for (const char* name : kCalculators) {
        if (QStandardPaths::findExecutable(name).isEmpty()) continue;
        RunExternal(interaction_, name, {}, QString());
        return;
    }
    // A click that does nothing would leave the user guessing.
    interaction_.showInformation(kNoCalculatorFound);
}

}  // namespace zantor
