#pragma once
// The main window as the program makes it, with its inner parts in reach: tests and benchmarks
// drive and read it through this class, the program never does.

#include "MainForm.h"

class TMainFormProbe final : public TMainForm {
public:
    using TMainForm::TMainForm;

    using TMainForm::FirstActivation;
    using TMainForm::PendingFileName;
    using TMainForm::Playback;
    using TMainForm::Projects;
    using TMainForm::Shots;
    using TMainForm::View;
    using TMainForm::ViewCommands;

    using TMainForm::Action;
    using TMainForm::Menu;
    using TMainForm::RecentItems;

    using TMainForm::Evacuation;

    using TMainForm::DeckChooser;
    using TMainForm::OpenButton;
    using TMainForm::PlayButton;
    using TMainForm::ProjectDataButton;
    using TMainForm::SecondBackwardButton;
    using TMainForm::SeriesButton;
    using TMainForm::SingleShotButton;

    using TMainForm::LightsPanel;
    using TMainForm::MessagePanel;
    using TMainForm::SavedPanel;
    using TMainForm::TimePanel;
};
