#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "dnc/send_selection.h"

class QGroupBox;
class QLabel;
class QRadioButton;

namespace zantor {

// "Select What To Send to CNC": the program in the active editor window (or
// its selected lines, or from the cursor on) or files from disk. OK prepares
// the send file; the dialog closes with OK only when something is ready.
class TSendDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 115;

    // `editorCaption` gives the active editor window's caption, empty when
    // there is none.
    TSendDlg(SendPreparation& preparation, std::function<std::string()> editorCaption,
             QWidget* parent = nullptr);

    void enableEditorChoices(bool on);
    SendMode mode() const;
    void setMode(SendMode mode);
    QString editorFileShown() const;

signals:
    void helpRequested(int context);

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showEditorCaption();

    SendPreparation& preparation_;
    std::function<std::string()> editorCaption_;
    QLabel* editorFile_;
    QRadioButton* current_;
    QRadioButton* selected_;
    QRadioButton* fromCursor_;
    QRadioButton* disk_;
};

}  // namespace zantor
