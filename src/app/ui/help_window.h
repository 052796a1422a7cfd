#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace zantor {

// The help pages shown inside the program: the page, a list of topics (all
// of them, or those holding the words searched for), back and forward.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `folder` holds the pages; empty when none were found.
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

    void showContext(int context);
    // A page named in the folder ("contents.html"); a missing one says so.
    void showPage(const QString& fileName);
    void showContents();
    // The topic list searched for `words`; the field gets the focus.
    void search(const QString& words);

    QTextBrowser* browser() const { return browser_; }
    QListWidget* topics() const { return topics_; }
    QLineEdit* searchField() const { return search_; }
    const QString& folder() const { return folder_; }

private:
    void showFile(const QString& file, const QString& missingWhat);
    void raiseWindow();

    QString folder_;
    QTextBrowser* browser_;
    QListWidget* topics_;
    QLineEdit* search_;
};

}  // namespace zantor
