#include "editor/ui/editor_workspace.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <algorithm>

#include "core/file_io.h"
#include "core/interaction.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/tmdi_child.h"
#include "session/app_session.h"

namespace zantor::editor {

namespace {
constexpr const char* kNoFileLoaded = "No File Currently Loaded\r\nSelect File Open/New First";

// Ctrl+F4 closes the active editor window through the main window's own
// command on every desktop; a sub-window's menu keeping the key as well would
// make it ambiguous, and then neither would act.
void leaveCtrlF4ToTheMainWindow(QMdiSubWindow& sub) {
    if (QMenu* menu = sub.systemMenu())
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0) action->setShortcuts(keys);
        }
}
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
    v.wordStar = wordStarActive_;
    return v;
}

CommentStrings EditorWorkspace::commentStrings() const {
    const MachineFormat& format = session_.state.CurrentSettings.Format;
    return {format.CommentStart.substr(0, kCommentStringLimit),
            format.CommentEnd.substr(0, kCommentStringLimit)};
}

TMDIChild* EditorWorkspace::OpenEditorWindow(const std::string& name, bool load) {
    QMdiSubWindow* previous = area_.currentSubWindow();
    auto* window = new TMDIChild(*this, name);
    QMdiSubWindow* sub = area_.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    leaveCtrlF4ToTheMainWindow(*sub);
    if (!sub->isMaximized()) placeNewWindow(*sub, previous);
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

void EditorWorkspace::placeNewWindow(QMdiSubWindow& sub, const QMdiSubWindow* previous) const {
    // Three quarters of the area, one title bar below and right of the
    // window that was active, as a cascade would put it; a window that would
    // reach out of the area starts again at its top left corner, so that its
    // title and close box are always in reach.
    const QSize room = area_.viewport()->size();
    const QSize size = (room * 3 / 4).expandedTo(sub.minimumSizeHint()).boundedTo(room);
    QPoint at(0, 0);
    if (previous && !previous->isHidden() && !previous->isMinimized()) {
        const int step = previous->widget() ? previous->widget()->geometry().top() : 0;
        at = previous->pos() + QPoint(step, step);
    }
    if (at.x() + size.width() > room.width() || at.y() + size.height() > room.height()) at = {};
    sub.resize(size);
    sub.move(at);
}

void EditorWorkspace::cascade() {
    QMdiSubWindow* active = area_.activeSubWindow();
    area_.cascadeSubWindows();
    // The area sizes cascaded windows as their contents ask and leaves them
    // stacked as they were. Here each gets the room the cascade leaves, half
    // the area at least, and they are stacked down the cascade with the
    // active window in front, so that every title bar shows.
    std::vector<QMdiSubWindow*> cascaded;
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (!sub->isHidden() && !sub->isMinimized()) cascaded.push_back(sub);
    if (cascaded.empty()) return;
    std::vector<QPoint> places;
    for (QMdiSubWindow* sub : cascaded) places.push_back(sub->pos());
    std::sort(places.begin(), places.end(), [](const QPoint& a, const QPoint& b) {
        return std::pair(a.x() + a.y(), a.y()) < std::pair(b.x() + b.y(), b.y());
    });
    std::sort(cascaded.begin(), cascaded.end(),
              [active](const QMdiSubWindow* a, const QMdiSubWindow* b) {
                  return (a == active) < (b == active) ||
                         ((a == active) == (b == active) && a->y() < b->y());
              });
    const QSize room = area_.viewport()->size();
    QPoint last(0, 0);
    for (const QPoint& place : places)
        last = {std::max(last.x(), place.x()), std::max(last.y(), place.y())};
    const QSize size(std::max(room.width() - last.x(), room.width() / 2),
                     std::max(room.height() - last.y(), room.height() / 2));
    for (size_t i = 0; i < cascaded.size(); ++i) {
        cascaded[i]->setGeometry(QRect(places[i], size));
        cascaded[i]->raise();
    }
    if (active) area_.setActiveSubWindow(active);
}

QMdiSubWindow* EditorWorkspace::subWindowOf(const TMDIChild& window) const {
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (sub->widget() == &window) return sub;
    return nullptr;
}

std::vector<TMDIChild*> EditorWorkspace::editorWindows() const {
    std::vector<TMDIChild*> windows;
    // A minimised window is still open; a closed one waits to be deleted.
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (auto* window = qobject_cast<TMDIChild*>(sub->widget()); window && !sub->isHidden())
            windows.push_back(window);
    return windows;
}

TMDIChild* EditorWorkspace::ActiveEditorWindow() const {
    // The current window stays the active one while a dialog has the focus.
    QMdiSubWindow* sub = area_.currentSubWindow();
    auto* window = sub ? qobject_cast<TMDIChild*>(sub->widget()) : nullptr;
    return window && !sub->isHidden() ? window : nullptr;
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
