#include "editor/ui/editor_workspace.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "session/app_session.h"
#include "core/file_io.h"
#include "core/interaction.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/tmdi_child.h"

namespace zantor::editor {

namespace {
constexpr const char* kNoFileLoaded = "No File Currently Loaded\r\nSelect File Open/New First";
}  // namespace

EditorWorkspace::EditorWorkspace(AppSession& session, Interaction& interaction, QMdiArea& area,
                                 std::function<QFont()> editorFont, QObject* parent)
    : QObject(parent),
      session_(session),
      interaction_(interaction),
      area_(area),
      editorFont_(std::move(editorFont)),
      fileCommands_(std::make_unique<FileCommands>(session, interaction, *this)) {
    stateTimer_.setSingleShot(true);
    stateTimer_.setInterval(0);
    connect(&stateTimer_, &QTimer::timeout, this, &EditorWorkspace::activeStateChanged);
    connect(&area_, &QMdiArea::subWindowActivated, this, [this] { stateChangeLater(); });
}

EditorWorkspace::~EditorWorkspace() = default;

EditorViewSettings EditorWorkspace::viewSettings() const {
    const AppSettings& s = session_.state.Settings;
    EditorViewSettings v;
    v.font = editorFont_ ? editorFont_() : QFont();
    v.fontColor = colourFromSetting(session_.state.EditorFont.color);
    v.background = colourFromSetting(s.EditorColor);
    v.tabSize = s.TabSize;
    v.wordWrap = s.WordWrap;
    v.wrapColumn = s.WrapColumn;
    v.wrapToWindow = s.WrapToWindow;
    v.autoIndent = s.AutoIndent;
    v.backup = s.Backup;
    v.tabType = s.TabType;
    v.showSyntax = s.ShowSyntax;
    v.alphaColor = colourFromSetting(s.AlphaColor);
    v.nonAlphaColor = colourFromSetting(s.NonAlphaColor);
    v.commentColor = colourFromSetting(s.CommentColor);
    return v;
}

CommentStrings EditorWorkspace::commentStrings() const {
    const MachineFormat& format = session_.state.CurrentSettings.Format;
    return {format.CommentStart.substr(0, kCommentStringLimit),
            format.CommentEnd.substr(0, kCommentStringLimit)};
}

TMDIChild* EditorWorkspace::OpenEditorWindow(const std::string& name, bool load) {
    auto* window = new TMDIChild(*this, name);
    QMdiSubWindow* sub = area_.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A new window takes three quarters of the area, as a cascade would.
    if (!sub->isMaximized()) sub->resize(area_.viewport()->size() * 3 / 4);
    sub->show();
    area_.setActiveSubWindow(sub);
    window->FocusEditor();
    if (load) {
        try {
            const std::string warning = linesCutWarning(window->LoadDocument(name));
            if (!warning.empty()) interaction_.showWarning(warning);
        } catch (const FileError& error) {
            interaction_.showError(error.what());
        } catch (const EditorError& error) {
            interaction_.showError(error.what());
        }
    }
    stateChangeLater();
    return window;
}

QMdiSubWindow* EditorWorkspace::subWindowOf(const TMDIChild& window) const {
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (sub->widget() == &window) return sub;
    return nullptr;
}

std::vector<TMDIChild*> EditorWorkspace::editorWindows() const {
    std::vector<TMDIChild*> windows;
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (auto* window = qobject_cast<TMDIChild*>(sub->widget()); window && window->isVisible())
            windows.push_back(window);
    return windows;
}

TMDIChild* EditorWorkspace::ActiveEditorWindow() const {
    // The current window stays the active one while a dialog has the focus.
    QMdiSubWindow* sub = area_.currentSubWindow();
    auto* window = sub ? qobject_cast<TMDIChild*>(sub->widget()) : nullptr;
    return window && window->isVisible() ? window : nullptr;
}

bool EditorWorkspace::RequireActiveDocument() {
    if (ActiveEditorWindow()) return true;
    interaction_.showInformation(kNoFileLoaded);
    return false;
}

ExportResult EditorWorkspace::ExportLines(ExportMode mode) {
    TMDIChild* window = ActiveEditorWindow();
    if (!window) return {};
    return editor::ExportLines(*window, mode, session_.state.WorkFile);
}

TMDIChild* EditorWorkspace::editorWindow(const std::string& caption) const {
    for (TMDIChild* window : editorWindows())
        if (window->caption() == caption) return window;
    return nullptr;
}

void EditorWorkspace::activate(TMDIChild& window) {
    QMdiSubWindow* sub = subWindowOf(window);
    if (!sub) return;
    if (sub->isMinimized()) sub->showNormal();
    area_.setActiveSubWindow(sub);
    window.FocusEditor();
}

TMDIChild* EditorWorkspace::ShowResultsWindow() {
    TMDIChild* last = nullptr;
    for (TMDIChild* window : editorWindows()) {
        if (window->caption() != kResultsWindowTitle) continue;
        activate(*window);
        last = window;
    }
    return last ? last : OpenEditorWindow(kResultsWindowTitle, false);
}

void EditorWorkspace::applySettingsToAll() {
    const EditorViewSettings settings = viewSettings();
    for (TMDIChild* window : editorWindows()) window->applyViewSettings(settings);
}

void EditorWorkspace::recolourAll() {
    for (TMDIChild* window : editorWindows())
        for (EditorView* view : {window->Editor1(), window->secondView()})
            if (view) view->colourVisibleLines();
}

void EditorWorkspace::minimizeAll() {
    const QList<QMdiSubWindow*> subs = area_.subWindowList();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) (*it)->showMinimized();
}

void EditorWorkspace::editorStateChanged(TMDIChild& window) {
    if (&window == ActiveEditorWindow()) stateChangeLater();
}

bool EditorWorkspace::mayCloseEditor(TMDIChild& window) {
    return fileCommands_->queryClose(window);
}

void EditorWorkspace::editorClosed(TMDIChild& window) {
    fileCommands_->windowClosed(window.caption());
    stateChangeLater();
}

FileCommandWindow* EditorWorkspace::activeWindow() {
    return ActiveEditorWindow();
}

FileCommandWindow* EditorWorkspace::findWindow(const std::string& caption) {
    return editorWindow(caption);
}

void EditorWorkspace::bringToFront(FileCommandWindow& window) {
    activate(static_cast<TMDIChild&>(window));
}

void EditorWorkspace::openWindow(const std::string& name, bool load) {
    OpenEditorWindow(name, load);
}

}  // namespace zantor::editor
