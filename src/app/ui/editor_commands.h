#pragma once

#include <QObject>
#include <array>

#include "session/recent_files.h"

class QAction;
class QMenu;
class QToolBar;

namespace zantor {

class StatusPanels;
class TMainForm;

namespace editor {
class EditorWorkspace;
class FileViewerWindow;
}  // namespace editor

// The main window's commands for editor windows: File New/Open/Save/Save As
// and the recent files, the Edit and Window menus, the tool buttons, the
// editor context menu, the status panels, and when each is enabled.
class EditorCommands : public QObject {
    Q_OBJECT
public:
    EditorCommands(TMainForm& form, editor::EditorWorkspace& workspace);

    // Status panels and enabling after a caret move, an edit or a change of
    // the active window.
    void refresh();
    void rebuildRecentFiles();
    QMenu* contextMenu() const { return contextMenu_; }
    const StatusPanels& statusPanels() const { return *panels_; }
    editor::FileViewerWindow& fileViewer() const { return *fileViewer_; }

private:
    QAction* makeAction(const QString& name, const QString& text, const QString& hint);
    void buildFileMenu();
    void buildEditMenu();
    void buildWindowMenu();
    void buildToolBar();
    void buildContextMenu();
    void fileMenuOpening();
    void windowMenuOpening();
    // Runs `command` on the active window's current view, if there is one.
    template <typename Command>
    void onActive(Command command);

    TMainForm& form_;
    editor::EditorWorkspace& workspace_;
    StatusPanels* panels_;
    QMenu* editMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QAction *save_ = nullptr, *saveAs_ = nullptr, *print_ = nullptr;
    QAction *undo_ = nullptr, *redo_ = nullptr, *cut_ = nullptr, *copy_ = nullptr,
            *paste_ = nullptr, *delete_ = nullptr, *selectAll_ = nullptr;
    QAction *cascade_ = nullptr, *tile_ = nullptr, *arrange_ = nullptr, *minimizeAll_ = nullptr,
            *split_ = nullptr, *windowListSeparator_ = nullptr;
    QAction *toolSave_ = nullptr, *toolCut_ = nullptr, *toolCopy_ = nullptr, *toolPaste_ = nullptr,
            *toolUndo_ = nullptr, *toolRedo_ = nullptr;
    QAction* findNext_ = nullptr;
    editor::FileViewerWindow* fileViewer_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    std::array<QAction*, kRecentFileCount> recent_{};
    bool clipboardHasText_ = false;
};

}  // namespace zantor
