#include "editor/ui/jump_list_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantor::editor {

JumpListDialog::JumpListDialog(QWidget* parent)
    : QDialog(parent),
      list_(new QListWidget(this)),
      progressLabel_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setObjectName("JumpListDialog");
    // Modal from its first showing, which may come while the list is read.
    setWindowModality(Qt::ApplicationModal);
    list_->setObjectName("JumpList");
    list_->setMinimumSize(420, 260);
    progressLabel_->setObjectName("JumpListProgressText");
    progress_->setObjectName("JumpListProgress");
    QPushButton* help = buttons_->addButton("&Help", QDialogButtonBox::HelpRole);
    help->setObjectName("HelpButton");
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(progressLabel_);
    layout->addWidget(progress_);
    layout->addWidget(buttons_);
    setReading(false);
}

void JumpListDialog::setReading(bool reading) {
    progressLabel_->setVisible(reading);
    progress_->setVisible(reading);
    buttons_->setEnabled(!reading);
}

void JumpListDialog::showReading(const QString& caption, int line, int lineCount) {
    if (progress_->isHidden()) {
        setWindowTitle(caption);
        list_->clear();
        lines_.clear();
        setReading(true);
    }
    progress_->setRange(0, lineCount);
    progress_->setValue(line);
    progressLabel_->setText(
        QString("Reading line %1 of %2 ... Esc stops").arg(line).arg(lineCount));
    if (!isVisible()) show();
}

void JumpListDialog::setEntries(const QString& caption, const std::vector<JumpEntry>& entries,
                                const QFont& font) {
    setReading(false);
    setWindowTitle(caption);
    list_->clear();
    lines_.clear();
    list_->setFont(font);
    for (const JumpEntry& entry : entries) {
        list_->addItem(QString::fromLatin1(entry.text.data(), qsizetype(entry.text.size())));
        lines_.push_back(entry.line);
    }
    if (!entries.empty()) list_->setCurrentRow(0);
}

std::optional<int> JumpListDialog::chosenLine() const {
    const int row = list_->currentRow();
    if (row < 0 || size_t(row) >= lines_.size() || list_->selectedItems().isEmpty())
        return std::nullopt;
    return lines_[size_t(row)];
}

}  // namespace zantor::editor
