#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace zantor {

class Interaction;
struct RunState;

// "Zantor Pro 2013 Properties": the application settings of section GENERAL
// on the pages "General", "Editor" and "DNC". Showing fills the controls from
// the run state; OK writes them back (the settings file is written when the
// program saves its settings). A font chosen here is taken at once, also when
// the dialog is then cancelled.
class TZtrSettingsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 121;

    TZtrSettingsDlg(RunState& state, Interaction& interaction, QWidget* parent = nullptr);

    // The 16 colours of the colour lists, as stored (red in the low byte).
    static const std::array<std::pair<const char*, int>, 16> kNamedColours;

    QTabWidget* tabs;
    // "General"
    QCheckBox* autoIndent;
    QCheckBox* backup;
    QCheckBox* prettyPrint;
    QCheckBox* colorPrint;
    QCheckBox* wordWrap;
    QCheckBox* wrapToWindow;
    QCheckBox* wrapToColumn;
    QSpinBox* wrapColumn;
    QCheckBox* ncWarn;
    QLineEdit* analyzer;
    QCheckBox* useSecure;
    std::array<QLineEdit*, 3> margins{};  // left, top, bottom
    std::array<QRadioButton*, 3> tabTypes{};
    QSpinBox* tabSize;
    QPushButton* printerFont;
    // "Editor"
    QCheckBox* showSyntax;
    QGroupBox* colourGroup;
    std::array<QComboBox*, 3> syntaxColours{};  // alpha, non-alpha, comments
    QComboBox* backgroundColour;
    QPushButton* editorFont;
    QLabel* sample;
    QCheckBox* wordStar;
    // "DNC"
    QCheckBox* dncAlert;
    QCheckBox* rtsLowForWrite;
    QLineEdit* commentStart;
    QSpinBox* receiveBuffer;
    QSpinBox* sendBuffer;
    QSpinBox* dtrDelay;
    QSpinBox* comOpenDelay;

    // Sets the list to a stored colour; one not among the 16 is added as it
    // is. The last entry, "Other...", opens the colour dialog.
    static void showColour(QComboBox* list, int colour);
    static int colourOf(const QComboBox* list);

public slots:
    void accept() override;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* generalPage();
    QWidget* editorPage();
    QWidget* dncPage();
    void load();
    void applyEnabling();
    void evaluateMargin(QLineEdit* field);
    void chooseEditorFont();
    // "Other..." of a colour list: any colour through the colour dialog.
    void chooseOtherColour(QComboBox* list);
    void choosePrinterFont();

    RunState& state_;
    Interaction& interaction_;
    bool wrapToColumnChosen_ = false;  // kept for this run only
};

}  // namespace zantor
