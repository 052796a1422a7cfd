#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/export_lines.h"
#include "editor/ui/editor_host.h"
#include "session/file_commands.h"

class QMdiArea;
class QMdiSubWindow;

namespace zantor {
class AppSession;
}

namespace zantor::editor {

class TMDIChild;

// The editor windows in the main window's MDI area: opening and finding them,
// the active one, the results window, and the file commands that work on
// them.
class EditorWorkspace : public QObject, public EditorHost, public EditorWindowList {
    Q_OBJECT
public:
    // `editorFont` gives the current EditorFont as a QFont.
    EditorWorkspace(AppSession& session, Interaction& interaction, QMdiArea& area,
                    std::function<QFont()> editorFont, QObject* parent = nullptr);
    ~EditorWorkspace() override;

    FileCommands& fileCommands() { return *fileCommands_; }
    QMdiArea& area() { return area_; }

    // A new editor window named `name`; with `load` the file is read, and a
    // failure is reported while the window stays open with an empty document.
    TMDIChild* OpenEditorWindow(const std::string& name, bool load);
    TMDIChild* ActiveEditorWindow() const;
    // True with an active editor window; otherwise tells the user so.
    bool RequireActiveDocument();
    // Writes lines of the active window to the work file for sending; fails
    // without an active window.
    ExportResult ExportLines(ExportMode mode);
    // Brings the "Zantor Results" windows to the front, or opens one.
    TMDIChild* ShowResultsWindow();
    TMDIChild* editorWindow(const std::string& caption) const;
    std::vector<TMDIChild*> editorWindows() const;
    // Puts the window in front and gives it the focus.
    void activate(TMDIChild& window);
    // The view settings again, in every view of every window.
    void applySettingsToAll();
    // The WordStar key set follows WORDSTAR only once the Properties dialog
    // has been closed; off until then.
    void setWordStarActive(bool active) { wordStarActive_ = active; }
    // Colours the shown lines of every view again, after the comment strings
    // changed with the current machine.
    void recolourAll();
    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }
    // Minimises every editor window, from the last to the first.
    void minimizeAll();
    // The area's cascade, with each window as large as the cascade allows.
    void cascade();

    // EditorHost
    EditorViewSettings viewSettings() const override;
    CommentStrings commentStrings() const override;
    QMenu* editorContextMenu() override { return contextMenu_; }
    Interaction& interaction() override { return interaction_; }
    void editorStateChanged(TMDIChild& window) override;
    bool mayCloseEditor(TMDIChild& window) override;
    void editorClosed(TMDIChild& window) override;

    // EditorWindowList
    FileCommandWindow* activeWindow() override;
    FileCommandWindow* findWindow(const std::string& caption) override;
    void bringToFront(FileCommandWindow& window) override;
    void openWindow(const std::string& name, bool load) override;

signals:
    // The active window changed, or its caret, text, selection or mode did.
    // Reports are gathered and sent once the event loop is idle again, so a
    // burst of edits refreshes the status once.
    void activeStateChanged();

private:
    QMdiSubWindow* subWindowOf(const TMDIChild& window) const;
    // Size and place of a window about to be shown, inside the area.
    void placeNewWindow(QMdiSubWindow& sub, const QMdiSubWindow* previous) const;
    void stateChangeLater() { stateTimer_.start(); }

    AppSession& session_;
    Interaction& interaction_;
    QMdiArea& area_;
    std::function<QFont()> editorFont_;
    QMenu* contextMenu_ = nullptr;
    std::unique_ptr<FileCommands> fileCommands_;
    QTimer stateTimer_;
    bool wordStarActive_ = false;
};

}  // namespace zantor::editor
