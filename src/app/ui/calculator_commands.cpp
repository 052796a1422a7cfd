#include "app/ui/calculator_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "app/ui/main_form.h"
#include "bmacro/expression_evaluator.h"
#include "bmacro/ui/bmacro_dialog.h"
#include "calc/ui/speed_feed_dialog.h"
#include "calc/ui/triangle_dialog.h"
#include "calc/ui/zcalc_form.h"
#include "core/interaction.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "session/app_session.h"

namespace zantor {

namespace {

}  // namespace

CalculatorCommands::CalculatorCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      triangle_(new TTriangleDlg(interaction, &form)),
      speedFeed_(new TSFCalcDlg(interaction, &form)),
      zcalc_(new TZcalcform(&form)),
      bmacro_(new TMacrobdlg(interaction, form.session().state.ProgramFolder + "BMACROVARS.TXT",
                             &form)) {
    connect(triangle_, &TTriangleDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(speedFeed_, &TSFCalcDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(bmacro_, &TMacrobdlg::helpRequested, &form, &TMainForm::showHelp);
    QMenu* calculators = form.mainMenu("CalculatorsMenu", "&Calculators");
    // The system calculator is an external program, started by the
    // external-programs settings; it has no entry until those exist.
    const struct {
        const char* name;
        const char* text;
        void (CalculatorCommands::*run)();
    } entries[] = {{"actionZantorCalc", "&Zantor-Calc", &CalculatorCommands::showZantorCalc},
                   {"actionTriangleSolver", "&Triangle Solver", &CalculatorCommands::solveTriangle},
                   {"actionSpeedFeed", "&Speed Feed Calculator",
                    &CalculatorCommands::calculateSpeedsAndFeeds}};
    for (const auto& e : entries) {
        QAction* action = calculators->addAction(e.text);
        action->setObjectName(e.name);
        connect(action, &QAction::triggered, this, e.run);
    }
    QMenu* utilities = form.mainMenu("NcUtilitiesMenu", "&NC Utilities");
    QAction* bmacro = utilities->addAction("B-Macro Interpeter");
    bmacro->setObjectName("actionBMacro");
    bmacro->setStatusTip("Run the program as a B-Macro into an output file");
    connect(bmacro, &QAction::triggered, this, &CalculatorCommands::runBMacro);
}

void CalculatorCommands::showZantorCalc() {
    zcalc_->show();
    zcalc_->raise();
    zcalc_->activateWindow();
}

void CalculatorCommands::pasteReportIntoResults() {
    if (editor::TMDIChild* results = form_.workspace().ShowResultsWindow()) results->PasteClipboard();
}

void CalculatorCommands::solveTriangle() {
    const bool solved = triangle_->exec() == QDialog::Accepted;
    if (!form_.session().security.HasPrivilege(4, true)) {
        interaction_.message(MessageKind::Information, "Triangle Results Placed in WINDOWS Clipboard",
                             Buttons::Ok);
        return;
    }
    if (solved) pasteReportIntoResults();
}

void CalculatorCommands::calculateSpeedsAndFeeds() {
    if (speedFeed_->exec() == QDialog::Accepted) pasteReportIntoResults();
}

void CalculatorCommands::runBMacro() {
    editor::EditorWorkspace& workspace = form_.workspace();
    if (!workspace.RequireActiveDocument()) return;
    editor::TMDIChild* program = workspace.ActiveEditorWindow();
    const MachineFormat& machine = form_.session().state.CurrentSettings.Format;
    const EvalResult digits = Evaluate(machine.DigitsRight);
    const int decimals = digits.code == kEvalOk ? std::clamp(int(std::lround(digits.value)), 0, 15) : 4;
    bmacro_->prepare(*program, macroOutputName(program->FileName()), machine.CommentStart,
                     machine.CommentEnd, decimals);
    bmacro_->exec();
}

}  // namespace zantor
