#pragma once
// The main window as the program makes it, with its inner parts in reach: tests and benchmarks
// drive and read it through this class, the program never does.

#include "MainForm.h"

class TMainFormProbe final : public TMainForm {
public:
    using TMainForm::TMainForm;

    QAction* Action(TCommand command) const { return Commands.Action(command); }
    QMenu* Menu(TMenu menu) const { return Commands.Menu(menu); }

    using TMainForm::FirstActivation;
    using TMainForm::PendingFileName;
    using TMainForm::Playback;
    using TMainForm::Projects;
    using TMainForm::Shots;
    using TMainForm::Status;
    using TMainForm::Tools;
    using TMainForm::View;
    using TMainForm::ViewCommands;

    using TMainForm::RecentMenu;

    using TMainForm::Evacuation;
};
