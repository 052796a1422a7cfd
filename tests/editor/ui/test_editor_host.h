#pragma once

#include <QMenu>

#include "editor/ui/editor_host.h"
#include "scripted_interaction.h"

namespace zantor::editor::testing {

// An editor window's surroundings for tests: settings and comment strings
// the test sets, and a scripted person; the window may always close.
class TestEditorHost : public EditorHost {
public:
    EditorViewSettings settings;
    CommentStrings comments;
    zantor::testing::ScriptedInteraction ui;

    EditorViewSettings viewSettings() const override { return settings; }
    CommentStrings commentStrings() const override { return comments; }
    QMenu* editorContextMenu() override { return &menu_; }
    Interaction& interaction() override { return ui; }
    void editorStateChanged(TMDIChild&) override {}
    bool mayCloseEditor(TMDIChild&) override { return true; }
    void editorClosed(TMDIChild&) override {}

private:
    QMenu menu_;
};

}  // namespace zantor::editor::testing
