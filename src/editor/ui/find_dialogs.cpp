#include "editor/ui/find_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/search_history.h"
#include "editor/text_search.h"

namespace zantor::editor {

namespace {
// Where both dialogs appear, clear of the menus and the first lines.
constexpr QPoint kDialogPlace(150, 150);
}  // namespace

SearchDialogBase::SearchDialogBase(SearchHistory& history, const QString& title, QWidget* parent)
    : QDialog(parent),
      history_(history),
      text_(new QComboBox(this)),
      matchCase_(new QCheckBox("Match &case", this)),
      wholeWord_(new QCheckBox("Match &whole word only", this)) {
    setWindowTitle(title);
    setModal(false);
    text_->setObjectName("FindText");
    text_->setEditable(true);
    text_->setInsertPolicy(QComboBox::NoInsert);
    text_->setMinimumContentsLength(30);
    text_->lineEdit()->setMaxLength(int(kMaxSearchLength));
    matchCase_->setObjectName("MatchCase");
    wholeWord_->setObjectName("WholeWord");
    connect(text_, &QComboBox::editTextChanged, this, &SearchDialogBase::enableButtons);
}

QString SearchDialogBase::findText() const {
    return text_->currentText();
}

void SearchDialogBase::setFindText(const QString& text) {
    text_->setEditText(text);
}

bool SearchDialogBase::matchCase() const {
    return matchCase_->isChecked();
}

bool SearchDialogBase::wholeWord() const {
    return wholeWord_->isChecked();
}

void SearchDialogBase::needsText(QPushButton* button) {
    textButtons_ << button;
    enableButtons();
}

void SearchDialogBase::enableButtons() {
    for (QPushButton* button : textButtons_) button->setEnabled(!findText().isEmpty());
}

void SearchDialogBase::showAtPlace() {
    const QString current = findText();
    {
        const QSignalBlocker block(text_);
        text_->clear();
        for (const std::string& entry : history_.entries())
            text_->addItem(QString::fromLatin1(entry.data(), qsizetype(entry.size())));
        text_->setEditText(current);
    }
    enableButtons();
    show();
    // After show: the main window centres its dialogs as they appear.
    move(kDialogPlace);
    raise();
    activateWindow();
    text_->setFocus();
    text_->lineEdit()->selectAll();
}

FindDialog::FindDialog(SearchHistory& history, QWidget* parent)
    : SearchDialogBase(history, "Find", parent),
      up_(new QRadioButton("&Up", this)),
      down_(new QRadioButton("&Down", this)) {
    setObjectName("FindDialog");
    up_->setObjectName("DirectionUp");
    down_->setObjectName("DirectionDown");
    down_->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow("Fi&nd what:", text_);
    auto* direction = new QGroupBox("Direction", this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(matchCase_);
    boxes->addWidget(wholeWord_);
    auto* options = new QHBoxLayout;
    options->addLayout(boxes);
    options->addWidget(direction);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* findNext = buttons->addButton("&Find Next", QDialogButtonBox::ActionRole);
    findNext->setObjectName("FindNextButton");
    findNext->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("CancelButton");
    connect(findNext, &QPushButton::clicked, this, &FindDialog::findRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    needsText(findNext);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(options);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool FindDialog::searchUp() const {
    return up_->isChecked();
}

void FindDialog::setSearchUp(bool up) {
    (up ? up_ : down_)->setChecked(true);
}

ReplaceDialog::ReplaceDialog(SearchHistory& history, QWidget* parent)
    : SearchDialogBase(history, "Replace", parent), replacement_(new QLineEdit(this)) {
    setObjectName("ReplaceDialog");
    replacement_->setObjectName("ReplaceWith");
    replacement_->setMaxLength(int(kMaxSearchLength));

    auto* form = new QFormLayout;
    form->addRow("Fi&nd what:", text_);
    form->addRow("Re&place with:", replacement_);
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(matchCase_);
    left->addWidget(wholeWord_);
    left->addStretch();

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* findNext = buttons->addButton("&Find Next", QDialogButtonBox::ActionRole);
    findNext->setObjectName("FindNextButton");
    findNext->setDefault(true);
    QPushButton* replace = buttons->addButton("&Replace", QDialogButtonBox::ActionRole);
    replace->setObjectName("ReplaceButton");
    QPushButton* replaceAll = buttons->addButton("Replace &All", QDialogButtonBox::ActionRole);
    replaceAll->setObjectName("ReplaceAllButton");
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("CancelButton");
    connect(findNext, &QPushButton::clicked, this, &ReplaceDialog::findRequested);
    connect(replace, &QPushButton::clicked, this, &ReplaceDialog::replaceRequested);
    connect(replaceAll, &QPushButton::clicked, this, &ReplaceDialog::replaceAllRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* button : {findNext, replace, replaceAll}) needsText(button);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString ReplaceDialog::replacement() const {
    return replacement_->text();
}

void ReplaceDialog::setReplacement(const QString& text) {
    replacement_->setText(text);
}

}  // namespace zantor::editor
