#pragma once
// The main window's menus and window shortcuts, made from the command table: one action for each
// command, in its menu, or on the window for a shortcut that has no menu entry.

#include "CommandTable.h"

#include <array>

class QAction;
class QMainWindow;
class QMenu;

class TCommandActions {
public:
    // Fills the window's menu bar.
    explicit TCommandActions(QMainWindow& window);

    QAction* Action(TCommand command) const { return Actions[std::size_t(command)]; }
    QMenu* Menu(TMenu menu) const { return Menus[std::size_t(menu)]; }

    // The commands that need a project, enabled as one is loaded or not.
    void EnableProjectCommands(bool projectLoaded) const;
    // Every command but those of the Help menu, keys included, on or off with the controls;
    // those that need a project come on only with one.
    void EnableCommandsOutsideHelp(bool enabled, bool projectLoaded) const;

private:
    std::array<QAction*, CommandCount> Actions{};
    std::array<QMenu*, MenuCount> Menus{};
};
