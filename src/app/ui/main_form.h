#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QStringList>
#include <functional>

#include "session/app_session.h"

class QComboBox;
class QMdiArea;
class QMenu;

namespace zantor {

namespace editor {
class EditorWorkspace;
}

class CalculatorCommands;
class DncMenu;
class EditorCommands;
class HelpCommands;
class NcUtilityCommands;
class InsertCommands;
class SearchCommands;
class Interaction;
class TLoginDlg;
class TPasswordDlg;

// The program's icon, also each editor window's.
QIcon programIcon();

// The main window: a frame for the editor windows with the machine selector,
// the menus and the status bar. It drives the session's start-up and
// shutdown.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(AppSession& session, Interaction& interaction, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The show step once the window is up: login, files named on the command
    // line, the current machine. False when the program is to end.
    bool startUp(const QStringList& arguments);

    // Opens files dropped on the window: an open window of the same name
    // comes to the front, any other file is logged and opened.
    void openDroppedFiles(const QStringList& files);

    // Set by the editor: bring the editor window titled with a file's full
    // name to the front (false when there is none), and open a file in a new
    // editor window.
    std::function<bool(const QString&)> activateEditorWindow;
    std::function<void(const QString&)> openEditorWindow;

    QMdiArea* mdiArea() const { return mdiArea_; }
    QComboBox* machineBox() const { return machineBox_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* setupMenu() const { return setupMenu_; }
    // The menu of that object name, made with `caption` before the menu named
    // `beforeName` (else before Setup) when no area has made it yet.
    QMenu* mainMenu(const char* objectName, const QString& caption,
                    const char* beforeName = nullptr);
    // File menu entries of the editor go before this one.
    QAction* loginAction() const { return loginAction_; }
    AppSession& session() { return session_; }
    editor::EditorWorkspace& workspace() { return *workspace_; }
    EditorCommands& editorCommands() { return *editorCommands_; }
    CalculatorCommands& calculatorCommands() { return *calculatorCommands_; }

    DncMenu& dncMenu() { return *dncMenu_; }
    NcUtilityCommands& ncUtilityCommands() { return *ncUtilityCommands_; }
    SearchCommands& searchCommands() { return *searchCommands_; }
    InsertCommands& insertCommands() { return *insertCommands_; }
    HelpCommands& helpCommands() { return *helpCommands_; }

    // Shows the machine selector's entries and selection from the session.
    void showMachineSelector();
    // The help page of a context number.
    void showHelp(int context);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void changeLogin();
    void showPasswordManager();
    std::optional<Credentials> askCredentials();
    void updateLoginCaption();

    AppSession& session_;
    Interaction& interaction_;
    QMdiArea* mdiArea_;
    QComboBox* machineBox_;
    QMenu* fileMenu_ = nullptr;
    QMenu* setupMenu_ = nullptr;
    QAction* loginAction_ = nullptr;
    editor::EditorWorkspace* workspace_ = nullptr;
    EditorCommands* editorCommands_ = nullptr;
    CalculatorCommands* calculatorCommands_ = nullptr;
    DncMenu* dncMenu_ = nullptr;
    NcUtilityCommands* ncUtilityCommands_ = nullptr;
    SearchCommands* searchCommands_ = nullptr;
    InsertCommands* insertCommands_ = nullptr;
    HelpCommands* helpCommands_ = nullptr;
    TLoginDlg* loginDialog_;
    TPasswordDlg* passwordDialog_;
    bool shutDown_ = false;
};

}  // namespace zantor
