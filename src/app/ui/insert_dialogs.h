#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace zantor {

class ExpressionField;
class Interaction;

// "Insert an Expression": an expression field with examples. The field is
// evaluated when left, and again on OK, so a formula typed and confirmed
// with Enter counts as well.
class InsertExpressionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 101;
    InsertExpressionDialog(Interaction& interaction, QWidget* parent = nullptr);
    ExpressionField* field() const { return field_; }
    std::string expressionText() const;
    void accept() override;

signals:
    void helpRequested(int context);

private:
    ExpressionField* field_;
};

// "Insert Special Character": the characters 32 to 255 in a table of
// 7 rows of 32, and the control characters Ctrl-A to Ctrl-Z and Escape.
class SpecialCharacterDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 102;
    explicit SpecialCharacterDialog(QWidget* parent = nullptr);
    void setTableFont(const QFont& font);
    // The chosen code; 0 inserts nothing.
    int code() const { return code_; }
    // The character of a table cell: 32 + 32 * row + column.
    static int cellCode(int row, int column) { return 32 + 32 * row + column; }
    QTableWidget* table() const { return table_; }
    QComboBox* controlList() const { return control_; }
    QString codeText() const;

signals:
    void helpRequested(int context);

private:
    void chooseCell(int row, int column);
    void chooseControl(int index);
    void showCode();

    QTableWidget* table_;
    QLabel* preview_;
    QLabel* codeLabel_;
    QComboBox* control_;
    int code_ = 0;
};

// "Insert a Comment": the machine's comment start and end around a text;
// start and end may be changed for one insertion.
class InsertCommentDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 103;
    explicit InsertCommentDialog(QWidget* parent = nullptr);
    // The start and end fields take the machine's strings; the comment
    // keeps the text of the previous use.
    void prepare(const std::string& start, const std::string& end);
    std::string commentText() const;
    QLineEdit* startField() const { return start_; }
    QLineEdit* commentField() const { return comment_; }
    QLineEdit* endField() const { return end_; }

signals:
    void helpRequested(int context);

private:
    QLineEdit* start_;
    QLineEdit* comment_;
    QLineEdit* end_;
};

}  // namespace zantor
