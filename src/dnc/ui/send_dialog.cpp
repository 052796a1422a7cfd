#include "dnc/ui/send_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zantor {

TSendDlg::TSendDlg(SendPreparation& preparation, std::function<std::string()> editorCaption,
                   QWidget* parent)
    : QDialog(parent),
      preparation_(preparation),
      editorCaption_(std::move(editorCaption)),
      editorFile_(new QLabel),
      current_(new QRadioButton("Send &Current Editor File")),
      selected_(new QRadioButton("Send &Selected Editor text")),
      fromCursor_(new QRadioButton("Send &Editor Text From Cursor to End")),
      disk_(new QRadioButton("Send From &Disk File")) {
    setObjectName("TSendDlg");
    setWindowTitle("Select What To Send to CNC");
    // Wide enough for the desktop to show the title whole (bold, with the
    // title bar's buttons).
    QFont title = font();
    title.setBold(true);
    setMinimumWidth(QFontMetrics(title).horizontalAdvance(windowTitle()) + 120);
    editorFile_->setTextFormat(Qt::PlainText);
    auto* group = new QGroupBox("Current Editor File", this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(editorFile_);
    current_->setChecked(true);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSendDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kHelpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    for (QRadioButton* choice : {current_, selected_, fromCursor_, disk_})
        layout->addWidget(choice);
    layout->addWidget(buttons);
}

void TSendDlg::enableEditorChoices(bool on) {
    selected_->setEnabled(on);
    fromCursor_->setEnabled(on);
    if (!on && (selected_->isChecked() || fromCursor_->isChecked())) current_->setChecked(true);
}

SendMode TSendDlg::mode() const {
    if (selected_->isChecked()) return SendMode::SelectedEditorText;
    if (fromCursor_->isChecked()) return SendMode::FromCursorToEnd;
    if (disk_->isChecked()) return SendMode::FromDiskFile;
    return SendMode::CurrentEditorFile;
}

void TSendDlg::setMode(SendMode mode) {
    switch (mode) {
        case SendMode::SelectedEditorText:
            selected_->setChecked(true);
            break;
        case SendMode::FromCursorToEnd:
            fromCursor_->setChecked(true);
            break;
        case SendMode::FromDiskFile:
            disk_->setChecked(true);
            break;
        default:
            current_->setChecked(true);
    }
}

QString TSendDlg::editorFileShown() const {
    return editorFile_->text();
}

void TSendDlg::showEditorCaption() {
    const std::string caption = editorCaption_ ? editorCaption_() : std::string();
    editorFile_->setText(caption.empty() ? QString("NONE") : QString::fromStdString(caption));
}

void TSendDlg::showEvent(QShowEvent* event) {
    showEditorCaption();
    QDialog::showEvent(event);
}

void TSendDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) showEditorCaption();
    QDialog::changeEvent(event);
}

void TSendDlg::accept() {
    if (preparation_.accept(mode()))
        QDialog::accept();
    else
        QDialog::reject();
}

}  // namespace zantor
