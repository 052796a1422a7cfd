#include "nctools/ui/file_cleanup_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace zantor {

TFcleanDlg::TFcleanDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("TFcleanDlg");
    setWindowTitle("File Cleanup");
    // The boxes' names, in the order the operations run.
    const char* names[kCleanupOperations] = {"CheckBox4", "CheckBox3", "CheckBox2",
                                             "CheckBox1", "CBendprog", "CBaddstopcode"};
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kCleanupOperations; ++i) {
        const std::string caption = cleanupCaption(CleanupOperation(i));
        auto* box = new QCheckBox(QString::fromStdString(caption), this);
        box->setObjectName(names[i]);
        boxes_[size_t(i)] = box;
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kHelpContext); });
    layout->addWidget(buttons);
}

CleanupChoice TFcleanDlg::choice() const {
    CleanupChoice choice{};
    for (size_t i = 0; i < choice.size(); ++i) choice[i] = boxes_[i]->isChecked();
    return choice;
}

void TFcleanDlg::setChoice(const CleanupChoice& choice) {
    for (size_t i = 0; i < choice.size(); ++i) boxes_[i]->setChecked(choice[i]);
}

}  // namespace zantor
