#pragma once
// The main window as the program makes it, with its inner parts in reach: tests and benchmarks
// drive and read it through this class, the program never does.

#include "MainWindow.h"

class TMainWindowProbe final : public TMainWindow {
public:
    using TMainWindow::TMainWindow;

    QAction* Action(TCommand command) const { return Commands.Action(command); }
    QMenu* Menu(TMenu menu) const { return Commands.Menu(menu); }

    using TMainWindow::FirstActivation;
    using TMainWindow::PendingFileName;
    using TMainWindow::Playback;
    using TMainWindow::Projects;
    using TMainWindow::Shots;
    using TMainWindow::Status;
    using TMainWindow::Tools;
    using TMainWindow::View;
    using TMainWindow::ViewCommands;

    using TMainWindow::RecentMenu;

    using TMainWindow::Congestion;
    using TMainWindow::Evacuation;
    using TMainWindow::Selection;
    using TMainWindow::VideoExport;
};
