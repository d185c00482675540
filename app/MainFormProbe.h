#pragma once
// The main window as the program makes it, with its inner parts in reach: tests and benchmarks
// drive and read it through this class, the program never does.

#include "MainForm.h"

class TMainFormProbe final : public TMainForm {
public:
    using TMainForm::TMainForm;

    using TMainForm::FirstActivation;
    using TMainForm::LogFile;
    using TMainForm::LogLoaded;
    using TMainForm::MaxAnimationSpeed;
    using TMainForm::Options;
    using TMainForm::PendingFileName;
    using TMainForm::RecentFiles;
    using TMainForm::Replay;
    using TMainForm::ReplayCommands;
    using TMainForm::StartAnimation;
    using TMainForm::View;

    using TMainForm::AnimationMenu;
    using TMainForm::FileMenu;
    using TMainForm::HelpMenu;
    using TMainForm::SettingsMenu;
    using TMainForm::ViewsMenu;

    using TMainForm::AddLightAction;
    using TMainForm::DeckDownAction;
    using TMainForm::DeckUpAction;
    using TMainForm::OpenAction;
    using TMainForm::OptionsAction;
    using TMainForm::OriginMarkerAction;
    using TMainForm::PlayPauseAction;
    using TMainForm::ProjectDataAction;
    using TMainForm::QuickReferenceAction;
    using TMainForm::QuitAction;
    using TMainForm::RecentItems;
    using TMainForm::RemoveLightAction;
    using TMainForm::ResetAction;
    using TMainForm::SecondBackwardAction;
    using TMainForm::SecondForwardAction;
    using TMainForm::SeriesAction;
    using TMainForm::SingleShotAction;
    using TMainForm::StartupWindowAction;
    using TMainForm::ZoomInAction;
    using TMainForm::ZoomOutAction;

    using TMainForm::GoToEndAction;
    using TMainForm::GoToStartAction;
    using TMainForm::StepBackwardAction;
    using TMainForm::StepForwardAction;

    using TMainForm::CongestionMapAction;
    using TMainForm::CurveForm;
    using TMainForm::EvacuationCurveAction;

    using TMainForm::AnimationTimer;
    using TMainForm::DeckChooser;
    using TMainForm::OpenButton;
    using TMainForm::PlayButton;
    using TMainForm::ProjectDataButton;
    using TMainForm::SecondBackwardButton;
    using TMainForm::SeriesButton;
    using TMainForm::SingleShotButton;
    using TMainForm::SpeedChooser;
    using TMainForm::TimeReadout;
    using TMainForm::TimeSlider;

    using TMainForm::LightsPanel;
    using TMainForm::MessagePanel;
    using TMainForm::SavedPanel;
    using TMainForm::TimePanel;
};
