#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <span>

class QAction;
class QMenu;

namespace zantor {

class TMainForm;

// One menu of the main window's menu bar, in the bar's order.
struct MenuDefinition {
    const char* name;     // object name
    const char* caption;
    const char* hint;     // shown in the status bar; empty for none
};

// One menu command: where it sits, its caption, key and hint.
struct CommandDefinition {
    const char* menu;     // the object name of its menu
    const char* name;     // the action's object name, by which its command finds it
    const char* caption;
    const char* key;      // portable key text ("Ctrl+T"); empty for none
    const char* hint;     // status-bar hint; empty for none
};

// One tool button: the command it runs and its hint; a hint "Tip|Status"
// gives the tooltip and the status-bar text apart.
struct ToolButtonDefinition {
    const char* name;
    const char* caption;
    const char* hint;
    const char* command;  // the object name of the menu command it runs
};

std::span<const MenuDefinition> mainMenus();
std::span<const CommandDefinition> mainCommands();
std::span<const ToolButtonDefinition> toolButtons();
std::span<const ToolButtonDefinition> statusButtons();

// Puts every menu, command, tool button and status-bar button of the map on
// the main window. Commands already made by their areas keep their actions
// and get the map's caption, key and hint; a command whose area is not in
// the program yet gets an entry that stays disabled, which that area's code
// finds by its object name and takes over.
class CommandMap : public QObject {
    Q_OBJECT
public:
    explicit CommandMap(TMainForm& form);

    // True for an entry made here because nothing runs it yet.
    static bool isPlaceholder(const QAction& action);
    // The action of a command, by its name in the map (an area may have
    // given its own action another object name).
    QAction* command(const QString& name) const { return commands_.value(name); }
    QMenu* menu(const QString& name) const { return menus_.value(name); }

private:
    QMenu* ensureMenu(const MenuDefinition& definition);
    QAction* ensureCommand(QMenu& menu, const CommandDefinition& definition, QAction* after);
    void buildToolButtons();
    void buildStatusButtons();

    TMainForm& form_;
    QHash<QString, QAction*> commands_;
    QHash<QString, QMenu*> menus_;
};

}  // namespace zantor
