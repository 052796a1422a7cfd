#pragma once

#include <QDialog>
#include <string>

#include "bmacro/bmacro_interpreter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;

namespace zantor {

class Interaction;
class TGetvardlg;
namespace editor {
class TextDocument;
}

// "B-Macro Interpeter": runs the active program as a B-Macro into an output
// file, with the pre-defined variables (kept in BMACROVARS.TXT), progress,
// the line being run, and Cancel that stops a macro that never ends.
class TMacrobdlg : public QDialog, private BMacroHost {
    Q_OBJECT
public:
    TMacrobdlg(Interaction& interaction, std::string variablesFile, QWidget* parent = nullptr);
    // Before showing: the program, the output name proposed, and the
    // machine's comment characters and decimals.
    void prepare(const editor::TextDocument& program, const std::string& outputName,
                 const std::string& commentStart, const std::string& commentEnd, int decimals);
    bool running() const { return running_; }

    QLineEdit& outputName() const { return *outputName_; }
    QPlainTextEdit& variables() const { return *memo_; }

signals:
    void helpRequested(int context);

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void error(const std::string& text) override;
    std::optional<double> askNumber(const std::string& prompt, double proposed) override;
    bool lineDone(int line, int percent, const std::string& text) override;
    void run();

    Interaction& interaction_;
    std::string variablesFile_;
    const editor::TextDocument* program_ = nullptr;
    BMacroOptions options_;
    QLineEdit* outputName_ = nullptr;
    QCheckBox* keepComments_ = nullptr;
    QLineEdit* stopCode_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* lineNumber_ = nullptr;
    QLabel* lineText_ = nullptr;
    TGetvardlg* numberInput_ = nullptr;
    bool running_ = false;
    bool cancelled_ = false;
};

}  // namespace zantor
