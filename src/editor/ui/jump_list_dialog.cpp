#include "editor/ui/jump_list_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantor::editor {

JumpListDialog::JumpListDialog(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
    setObjectName("JumpListDialog");
    list_->setObjectName("JumpList");
    list_->setMinimumSize(420, 260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
    help->setObjectName("HelpButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void JumpListDialog::setEntries(const QString& caption, const std::vector<JumpEntry>& entries,
                                const QFont& font) {
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
