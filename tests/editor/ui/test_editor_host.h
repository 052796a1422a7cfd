#pragma once

#include <QMenu>

#include "editor/ui/editor_host.h"
#include "scripted_interaction.h"

namespace zantor::editor::testing {

// An editor window's surroundings for tests: settings and comment strings
// the test sets, a scripted person, and a count of what the window reported.
class TestEditorHost : public EditorHost {
public:
    EditorViewSettings settings;
    CommentStrings comments;
    zantor::testing::ScriptedInteraction ui;
    bool allowClose = true;
    int stateChanges = 0;
    int closed = 0;

    EditorViewSettings viewSettings() const override { return settings; }
    CommentStrings commentStrings() const override { return comments; }
    QMenu* editorContextMenu() override { return &menu_; }
    Interaction& interaction() override { return ui; }
    void editorStateChanged(TMDIChild&) override { ++stateChanges; }
    bool mayCloseEditor(TMDIChild&) override { return allowClose; }
    void editorClosed(TMDIChild&) override { ++closed; }

private:
    QMenu menu_;
};

}  // namespace zantor::editor::testing
