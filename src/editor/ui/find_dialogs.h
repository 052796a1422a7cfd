#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zantor::editor {

class SearchHistory;

// What the Find and Replace dialogs share: the search text, offered again
// from the search history, and the match-case and whole-word boxes. Both are
// modeless and stay up while the user works in the editor.
class SearchDialogBase : public QDialog {
    Q_OBJECT
public:
    QString findText() const;
    void setFindText(const QString& text);
    bool matchCase() const;
    bool wholeWord() const;
    // Shows the dialog at its place, the history refreshed and the text
    // selected, ready to type over.
    void showAtPlace();
    QComboBox* textBox() const { return text_; }

protected:
    SearchDialogBase(SearchHistory& history, const QString& title, QWidget* parent);
    // The buttons that need a text to search for.
    void needsText(QPushButton* button);

    SearchHistory& history_;
    QComboBox* text_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;

private:
    void enableButtons();
    QList<QPushButton*> textButtons_;
};

// Find: the text, the boxes and the direction (down unless Up is chosen).
class FindDialog : public SearchDialogBase {
    Q_OBJECT
public:
    FindDialog(SearchHistory& history, QWidget* parent = nullptr);
    bool searchUp() const;
    void setSearchUp(bool up);

signals:
    void findRequested();

private:
    QRadioButton* up_;
    QRadioButton* down_;
};

// Replace: the text, its replacement and the boxes; always searches down.
class ReplaceDialog : public SearchDialogBase {
    Q_OBJECT
public:
    ReplaceDialog(SearchHistory& history, QWidget* parent = nullptr);
    QString replacement() const;
    void setReplacement(const QString& text);

signals:
    void findRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    QLineEdit* replacement_;
};

}  // namespace zantor::editor
