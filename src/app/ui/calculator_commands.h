#pragma once

#include <QObject>

class QMenu;

namespace zantor {

class Interaction;
class TMainForm;
class TMacrobdlg;
class TSFCalcDlg;
class TTriangleDlg;
class TZcalcform;

// The "&Calculators" menu (Zantor-Calc, the Triangle Solver, the speed and
// feed calculator) and the "B-Macro Interpeter" command, with the results
// window their reports go to.
class CalculatorCommands : public QObject {
    Q_OBJECT
public:
    CalculatorCommands(TMainForm& form, Interaction& interaction);

    void showZantorCalc();
    void solveTriangle();
    void calculateSpeedsAndFeeds();
    void runBMacro();

    TTriangleDlg& triangleDialog() const { return *triangle_; }
    TSFCalcDlg& speedFeedDialog() const { return *speedFeed_; }
    TZcalcform& zantorCalc() const { return *zcalc_; }
    TMacrobdlg& bmacroDialog() const { return *bmacro_; }

private:
    void pasteReportIntoResults();

    TMainForm& form_;
    Interaction& interaction_;
    TTriangleDlg* triangle_;
    TSFCalcDlg* speedFeed_;
    TZcalcform* zcalc_;
    TMacrobdlg* bmacro_;
};

}  // namespace zantor
