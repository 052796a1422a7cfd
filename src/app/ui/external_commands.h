#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zantor {

class Interaction;
class TMainForm;

// The shell's start of another program: `command` (a program, with options
// of its own) gets `arguments` and runs in `folder`, apart from this one.
// Returns the start's result: above 32 when started; 2 when the program is
// not found, 5 when it cannot be run, each told to the user as "Cannot
// Execute (code) [command]".
int RunExternal(Interaction& interaction, const QString& command, const QStringList& arguments,
                const QString& folder);

inline constexpr const char* kNoCalculatorFound =
    "No calculator program was found. Install one of gnome-calculator, kcalc, "
    "galculator, qalculate-gtk, mate-calc or xcalc.";

// "Run &NC-Code Analyzer" with its tool button, and the system calculator.
class ExternalCommands : public QObject {
    Q_OBJECT
public:
    ExternalCommands(TMainForm& form, Interaction& interaction);

    void runAnalyzer();
    void startCalculator();

private:
    QString analyzerCommand() const;

    TMainForm& form_;
    Interaction& interaction_;
};

}  // namespace zantor
