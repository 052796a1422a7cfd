#include "app/ui/insert_dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "bmacro/ui/expression_field.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

namespace {
constexpr int kTableRows = 7;
constexpr int kTableColumns = 32;
constexpr int kEscape = 27;
}  // namespace

// ---- expression ------------------------------------------------------------

InsertExpressionDialog::InsertExpressionDialog(Interaction& interaction, QWidget* parent)
    : QDialog(parent), field_(new ExpressionField(QString(), interaction, this)) {
    setObjectName("InsertExpressionDialog");
    setWindowTitle("Insert an Expression");
    field_->setObjectName("Expression");
    auto* form = new QFormLayout;
    form->addRow("Expression", field_);
    auto* examples = new QLabel(
        "2+23/64-.002  ;  Simple Expression\n"
        "Sin(23DR)      ;  Sine of 23 Degrees\n"
        "2*Cos(pi)        ;  2 times the coisne  of PI\n"
        "%30               ;  Inch value of 30 Millimeters",
        this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(examples);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
}

std::string InsertExpressionDialog::expressionText() const {
    return latin1Of(field_);
}

void InsertExpressionDialog::accept() {
    // An expression whose error was just shown keeps the dialog up.
    if (!field_->evaluate()) return;
    QDialog::accept();
}

// ---- special character -------------------------------------------------------

SpecialCharacterDialog::SpecialCharacterDialog(QWidget* parent)
    : QDialog(parent),
      table_(new QTableWidget(kTableRows, kTableColumns, this)),
      preview_(new QLabel(this)),
      codeLabel_(new QLabel(this)),
      control_(new QComboBox(this)) {
    setObjectName("SpecialCharacterDialog");
    setWindowTitle("Insert Special Character");
    table_->setObjectName("CharacterTable");
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < kTableRows; ++r)
        for (int c = 0; c < kTableColumns; ++c) {
            auto* item = new QTableWidgetItem(QString(QChar(cellCode(r, c))));
            item->setTextAlignment(Qt::AlignCenter);
            table_->setItem(r, c, item);
        }
    preview_->setObjectName("Preview");
    preview_->setMinimumSize(48, 48);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::Box);
    codeLabel_->setObjectName("CodeText");
    control_->setObjectName("ControlCharacter");
    control_->addItem("(none)");
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        control_->addItem(QString("Ctrl - %1").arg(QChar(letter)));
    control_->addItem("<Escape>");
    setTableFont(font());

    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { chooseCell(row, column); });
    connect(table_, &QTableWidget::cellClicked, this, &SpecialCharacterDialog::chooseCell);
    connect(control_, &QComboBox::activated, this, &SpecialCharacterDialog::chooseControl);

    auto* controlRow = new QHBoxLayout;
    controlRow->addWidget(new QLabel("Control Character : ", this));
    controlRow->addWidget(control_);
    controlRow->addStretch();
    controlRow->addWidget(codeLabel_);
    controlRow->addWidget(preview_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(controlRow);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
    showCode();
}

void SpecialCharacterDialog::setTableFont(const QFont& font) {
    QFont tableFont = font;
    tableFont.setPointSize(10);
    table_->setFont(tableFont);
    QFont big = font;
    big.setPointSize(20);
    preview_->setFont(big);
    const int cell = QFontMetrics(tableFont).height() + 6;
    for (int c = 0; c < kTableColumns; ++c) table_->setColumnWidth(c, cell);
    for (int r = 0; r < kTableRows; ++r) table_->setRowHeight(r, cell);
    // The whole table shows at once, without scroll bars.
    const int frame = 2 * table_->frameWidth();
    table_->setFixedSize(table_->horizontalHeader()->length() + frame,
                         table_->verticalHeader()->length() + frame);
    adjustSize();
}

void SpecialCharacterDialog::chooseCell(int row, int column) {
    if (row < 0 || column < 0) return;
    code_ = cellCode(row, column);
    preview_->setText(QString(QChar(code_)));
    control_->setCurrentIndex(0);
    showCode();
}

void SpecialCharacterDialog::chooseControl(int index) {
    // (none) is 0, Ctrl - A to Ctrl - Z are 1 to 26, Escape is 27.
    code_ = index <= 26 ? index : kEscape;
    preview_->clear();
    showCode();
}

QString SpecialCharacterDialog::codeText() const {
    return codeLabel_->text();
}

void SpecialCharacterDialog::showCode() {
    codeLabel_->setText(QString("Chr = %1").arg(code_));
}

// ---- comment ---------------------------------------------------------------

InsertCommentDialog::InsertCommentDialog(QWidget* parent)
    : QDialog(parent),
      start_(new QLineEdit(this)),
      comment_(new QLineEdit(this)),
      end_(new QLineEdit(this)) {
    setObjectName("InsertCommentDialog");
    setWindowTitle("Insert a Comment");
    start_->setObjectName("CommentStart");
    comment_->setObjectName("Comment");
    end_->setObjectName("CommentEnd");
    comment_->setMinimumWidth(300);
    auto* form = new QFormLayout;
    form->addRow("Comment Start :", start_);
    form->addRow("Comment:", comment_);
    form->addRow("Comment End :", end_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
}

void InsertCommentDialog::prepare(const std::string& start, const std::string& end) {
    start_->setText(latin1Text(start));
    end_->setText(latin1Text(end));
    comment_->setFocus();
    comment_->selectAll();
}

std::string InsertCommentDialog::commentText() const {
    return latin1Of(start_) + latin1Of(comment_) + latin1Of(end_);
}

}  // namespace zantor
