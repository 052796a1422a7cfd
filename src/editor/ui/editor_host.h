#pragma once

#include "editor/ui/editor_view_settings.h"
#include "editor/ui/syntax_colouring.h"

class QMenu;

namespace zantor {
class Interaction;
}

namespace zantor::editor {

class TMDIChild;

// What an editor window needs from the program around it, so the window does
// not depend on the main window.
class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual EditorViewSettings viewSettings() const = 0;
    // The current machine's comment strings, read at every paint.
    virtual CommentStrings commentStrings() const = 0;
    virtual QMenu* editorContextMenu() = 0;
    virtual Interaction& interaction() = 0;
    // A view moved its caret, changed the text or took the focus.
    virtual void editorStateChanged(TMDIChild& window) = 0;
    // The close question; true when the window may close.
    virtual bool mayCloseEditor(TMDIChild& window) = 0;
    virtual void editorClosed(TMDIChild& window) = 0;
};

}  // namespace zantor::editor
