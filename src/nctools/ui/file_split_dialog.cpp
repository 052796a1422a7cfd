#include "nctools/ui/file_split_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

TFileSplitdlg::TFileSplitdlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      askBeforeOverwrite(new QRadioButton("Split to Files (Ask Before Overwrite)", this)),
      alwaysOverwrite(new QRadioButton("Split to Files (Always Overwrite)", this)),
      DirDNL(new QLineEdit(this)),
      Fext(new QLineEdit(this)),
      Fprefix(new QLineEdit("%", this)),
      Fsuffix(new QLineEdit("%", this)) {
    setObjectName("TFileSplitdlg");
    setWindowTitle("File Splitter");
    DirDNL->setObjectName("DirDNL");
    Fext->setObjectName("Fext");
    Fprefix->setObjectName("Fprefix");
    Fsuffix->setObjectName("Fsuffix");
    askBeforeOverwrite->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    auto* options = new QGroupBox("Splitting Options", this);
    auto* optionRows = new QVBoxLayout(options);
    optionRows->addWidget(askBeforeOverwrite);
    optionRows->addWidget(alwaysOverwrite);
    layout->addWidget(options);
    auto* browse = new QPushButton("...", this);
    browse->setObjectName("browseFolder");
    connect(browse, &QPushButton::clicked, this, [this, &interaction] {
        if (const auto folder = interaction.browseFolder("Output Folder", latin1Of(DirDNL)))
            DirDNL->setText(latin1Text(*folder));
    });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(DirDNL);
    folderRow->addWidget(browse);
    auto* rows = new QFormLayout;
    rows->addRow("Output Folder", folderRow);
    rows->addRow("Output File Extension ", Fext);
    rows->addRow("Output File Prefix", Fprefix);
    rows->addRow("Output File Suffix", Fsuffix);
    layout->addLayout(rows);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
}

void TFileSplitdlg::setOutput(const std::string& folder, const std::string& extension) {
    DirDNL->setText(latin1Text(folder));
    Fext->setText(latin1Text(extension));
}

SplitSettings TFileSplitdlg::settings() const {
    SplitSettings settings;
    settings.folder = latin1Of(DirDNL);
    settings.extension = latin1Of(Fext);
    settings.prefix = latin1Of(Fprefix);
    settings.suffix = latin1Of(Fsuffix);
    settings.alwaysOverwrite = alwaysOverwrite->isChecked();
    return settings;
}

}  // namespace zantor
