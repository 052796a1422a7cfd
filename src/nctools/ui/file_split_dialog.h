#pragma once

#include <QDialog>

#include "nctools/file_splitter.h"

class QLineEdit;
class QRadioButton;

namespace zantor {

class Interaction;

// "File Splitter": overwrite choice, output folder, extension, prefix and
// suffix. The command sets the folder and extension from the machine.
class TFileSplitdlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 10047;

    TFileSplitdlg(Interaction& interaction, QWidget* parent = nullptr);

    void setOutput(const std::string& folder, const std::string& extension);
    SplitSettings settings() const;  // without the program character

    QRadioButton* askBeforeOverwrite;
    QRadioButton* alwaysOverwrite;
    QLineEdit* DirDNL;
    QLineEdit* Fext;
    QLineEdit* Fprefix;
    QLineEdit* Fsuffix;

signals:
    void helpRequested(int context);
};

}  // namespace zantor
