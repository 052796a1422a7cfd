#pragma once

#include <QObject>
#include <chrono>
#include <string>

#include "editor/search_history.h"
#include "editor/slow_search_watch.h"
#include "editor/text_document.h"

class QAction;
class QMenu;

namespace zantor {

class Interaction;
class TMainForm;

namespace editor {
class FindDialog;
class JumpListDialog;
class ReplaceDialog;
class TMDIChild;
}  // namespace editor

// The Search menu, the status bar's T S F C J B buttons and the context
// menu's Find Next: find and replace through the Find and Replace dialogs,
// the next tool, speed, feed or comment, the jump lists of tools and
// sub-programs, and the line moves, all on the active editor window.
class SearchCommands : public QObject {
    Q_OBJECT
public:
    SearchCommands(TMainForm& form, Interaction& interaction);

    void find();
    void replace();
    void findNext();
    void findNextTool();
    void findNextSpeed();
    void findNextFeed();
    void findNextComment();
    void jumpToTool();
    void jumpToSubprogram();
    void goToLine();
    void gotoTop();
    void gotoBottom();
    // Which Search entries may run, from the active window and the find text.
    void updateEnabling();

    const editor::SearchOptions& options() const { return options_; }
    // The shared find text: the Find dialog's.
    std::string findText() const;
    editor::FindDialog& findDialog() const { return *findDialog_; }
    editor::ReplaceDialog& replaceDialog() const { return *replaceDialog_; }
    editor::JumpListDialog& jumpDialog() const { return *jumpDialog_; }
    QMenu* menu() const { return menu_; }
    // How long a search runs before the busy cursor shows and Esc counts.
    void setSlowSearchThreshold(std::chrono::milliseconds threshold) { threshold_ = threshold; }

private:
    void buildMenu();
    void searchFromFindDialog();
    void searchFromReplaceDialog();
    void replaceFromDialog(bool all);
    // FindText in the active window's current view, watched so a long one
    // shows the busy cursor and stops at Esc; a miss is told.
    void search(editor::TMDIChild& window, const std::string& text,
                const editor::SearchOptions& options);
    void findNextNc(const std::string& text);
    void jump(const QString& caption, const std::string& marker);
    void notFound(const std::string& text);

    TMainForm& form_;
    Interaction& interaction_;
    editor::SearchHistory history_;
    editor::SearchOptions options_;
    editor::FindDialog* findDialog_;
    editor::ReplaceDialog* replaceDialog_;
    editor::JumpListDialog* jumpDialog_;
    std::chrono::milliseconds threshold_ = editor::SlowSearchWatch::kDefaultThreshold;
    QMenu* menu_ = nullptr;
    QAction *find_ = nullptr, *replace_ = nullptr, *findNext_ = nullptr, *goToLine_ = nullptr,
            *top_ = nullptr, *bottom_ = nullptr;
    QList<QAction*> ncCommands_;
    QAction* contextFindNext_ = nullptr;
};

}  // namespace zantor
