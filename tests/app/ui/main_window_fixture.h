#pragma once

#include <QAction>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "app/ui/main_form.h"
#include "core/ini_store.h"
#include "editor/text_document.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "scripted_interaction.h"
#include "session/app_session.h"
#include "temp_folder.h"

namespace zantor::testing {

// The program's main window over a fresh program folder, with a scripted
// user. A main-window test derives from QObject and from this; its init()
// calls setUp (or makeFolder, then openWindow) and its cleanup() tearDown.
class MainWindowFixture {
protected:
    // The files of the program folder before the start; an empty text
    // writes no file.
    struct Files {
        std::string machines{};  // WPOSTS.INI
        std::string settings{};  // ZTR2013.INI
    };
    enum class Opening {
        Shown,      // shown, exposed, then started
        Hidden,     // started without being shown
        NotStarted  // only made
    };

    void setUp(const Files& files, Opening opening = Opening::Shown) {
        makeFolder(files);
        openWindow(opening);
    }
    void makeFolder() { makeFolder(Files{}); }
    void makeFolder(const Files& files) {
        dir = std::make_unique<TempFolder>();
        ui = std::make_unique<ScriptedInteraction>();
        if (!files.machines.empty()) dir->write("WPOSTS.INI", files.machines);
        if (!files.settings.empty()) dir->write("ZTR2013.INI", files.settings);
    }
    void openWindow(Opening opening = Opening::Shown) {
        // An earlier test's file at a path used again is never read back.
        IniStore::clearCache();
        session = std::make_unique<AppSession>(dir->path(), dir->path(), *ui);
        form = std::make_unique<TMainForm>(*session, *ui);
        if (opening == Opening::NotStarted) return;
        if (opening == Opening::Shown) {
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        }
        QVERIFY(form->startUp({}));
    }
    // Nothing is left modified, so closing asks nothing.
    void tearDown() {
        if (form)
            for (editor::TMDIChild* w : form->workspace().editorWindows()) w->SetModified(false);
        form.reset();
        session.reset();
        ui.reset();
        dir.reset();
    }

    QAction* findAction(const char* name) const { return form->findChild<QAction*>(name); }
    // An action that must be there.
    QAction* action(const char* name) const {
        QAction* a = findAction(name);
        if (!a) qFatal("no action %s", name);
        return a;
    }
    template <typename T>
    static T* child(QObject* parent, const char* name) {
        auto* c = parent->findChild<T*>(name);
        if (!c) qFatal("no child %s", name);
        return c;
    }
    // Runs `step` once the modal dialog that the next command opens is up.
    static void whenShown(std::function<void()> step) { QTimer::singleShot(0, step); }
    // The program file written into the folder, opened in an editor window.
    editor::TMDIChild* open(const std::string& name, const std::string& text) {
        return form->workspace().OpenEditorWindow(dir->write(name, text), true);
    }
    // The document's paragraphs, each followed by "|".
    static std::string paragraphs(const editor::TextDocument& doc) {
        std::string text;
        for (int p = 1; p <= doc.ParagraphCount(); ++p) text += doc.GetParagraph(p) + "|";
        return text;
    }

    std::unique_ptr<TempFolder> dir;
    std::unique_ptr<ScriptedInteraction> ui;
    std::unique_ptr<AppSession> session;
    std::unique_ptr<TMainForm> form;
};

}  // namespace zantor::testing
