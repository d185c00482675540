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

    using TMainForm::Animation1;
    using TMainForm::File1;
    using TMainForm::Help1;
    using TMainForm::Settings1;
    using TMainForm::Views1;

    using TMainForm::AddLight;
    using TMainForm::DeckDownAction;
    using TMainForm::DeckUpAction;
    using TMainForm::Help2;
    using TMainForm::LoadLogfile1;
    using TMainForm::Options1;
    using TMainForm::PlayPauseAction;
    using TMainForm::Quit1;
    using TMainForm::RecentItems;
    using TMainForm::RemoveLight;
    using TMainForm::ResetAction;
    using TMainForm::Screenshotseries1;
    using TMainForm::SecondBackwardAction;
    using TMainForm::SecondForwardAction;
    using TMainForm::ShowOrigin;
    using TMainForm::SingleShotAction;
    using TMainForm::StartupWindow1;
    using TMainForm::Statistics;
    using TMainForm::Zoomin1;
    using TMainForm::Zoomout1;

    using TMainForm::GoToEndAction;
    using TMainForm::GoToStartAction;
    using TMainForm::StepBackwardAction;
    using TMainForm::StepForwardAction;

    using TMainForm::CongestionMap1;
    using TMainForm::CurveForm;
    using TMainForm::EvacuationCurve1;

    using TMainForm::AnimationTimer;
    using TMainForm::BitBtn1;
    using TMainForm::BitBtn2;
    using TMainForm::DeckChooser;
    using TMainForm::PlayButton;
    using TMainForm::SecondBackwardButton;
    using TMainForm::SingleShotButton;
    using TMainForm::SpeedButton_ScreenShotSeries;
    using TMainForm::SpeedChooser;
    using TMainForm::TimeReadout;
    using TMainForm::TimeSlider;

    using TMainForm::LightsPanel;
    using TMainForm::MessagePanel;
    using TMainForm::SavedPanel;
    using TMainForm::TimePanel;
};
