#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <string>

class QMenu;

namespace zantor {

class InsertCommentDialog;
class InsertExpressionDialog;
class Interaction;
class MacroDialog;
class SpecialCharacterDialog;
class TMainForm;

namespace editor {
class TMDIChild;
}

// The date and time as Insert Date / Time writes them: the short date and
// the long time of `locale`, the time left out at exactly midnight.
QString insertedDateTime(const QDateTime& when, const QLocale& locale);

// The Insert menu: text made from an expression, other files, a macro, a
// special character, the date and time, the file name or a comment goes
// into the active editor window at the caret. Each insertion but Insert
// File passes through the clipboard, as a paste, and is one undo step.
class InsertCommands : public QObject {
    Q_OBJECT
public:
    InsertCommands(TMainForm& form, Interaction& interaction);

    void insertExpression();
    void insertFile();
    void insertMacro();
    void insertSpecialCharacter();
    void insertDateTime();
    void insertFileName();
    void insertComment();

    QMenu* menu() const { return menu_; }
    InsertExpressionDialog& expressionDialog() const { return *expression_; }
    SpecialCharacterDialog& specialCharacterDialog() const { return *special_; }
    InsertCommentDialog& commentDialog() const { return *comment_; }
    MacroDialog& macroDialog() const { return *macros_; }
    // Where Insert Date / Time takes the time from.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    // Puts `text` on the clipboard and pastes it into `window`.
    void paste(editor::TMDIChild& window, const std::string& text);
    editor::TMDIChild* requireWindow();

    TMainForm& form_;
    Interaction& interaction_;
    QMenu* menu_ = nullptr;
    InsertExpressionDialog* expression_;
    SpecialCharacterDialog* special_;
    InsertCommentDialog* comment_;
    MacroDialog* macros_;
};

}  // namespace zantor
