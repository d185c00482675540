#include "CommandActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

TCommandActions::TCommandActions(QMainWindow& window) {
    for (std::size_t menu = 0; menu < MenuCount; ++menu) {
        Menus[menu] = window.menuBar()->addMenu(MenuTitle(TMenu(menu)));
    }
    for (const TCommandEntry& entry : CommandTable()) {
        QAction* action = nullptr;
        if (entry.Caption != nullptr) {
            QMenu* menu = Menu(entry.Menu);
            if (entry.Has(SeparatorBefore)) {
                menu->addSeparator();
            }
            action = menu->addAction(entry.Caption);
        } else {
            action = new QAction(&window);
            window.addAction(action);
        }
        action->setShortcut(QKeySequence(entry.Key));
        action->setCheckable(entry.Has(Checkable));
        Actions[std::size_t(entry.Command)] = action;
    }
}

void TCommandActions::EnableProjectCommands(bool projectLoaded) const {
    for (const TCommandEntry& entry : CommandTable()) {
        if (entry.Has(NeedsProject)) {
            Action(entry.Command)->setEnabled(projectLoaded);
        }
    }
}

void TCommandActions::EnableCommandsOutsideHelp(bool enabled, bool projectLoaded) const {
    for (const TCommandEntry& entry : CommandTable()) {
        if (entry.Menu != TMenu::Help) {
            Action(entry.Command)
                ->setEnabled(enabled && (projectLoaded || !entry.Has(NeedsProject)));
        }
    }
}
