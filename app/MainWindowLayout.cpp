// The main window's menus, tool bar and status bar, and the wiring of its parts.

#include "MainWindow.h"

#include "CompareRunsWindow.h"
#include "PersonPanel.h"
#include "VideoExportWindow.h"

#include "BoxReports.h"
#include "DeckView.h"
#include "MessageNesting.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

// The window's own commands, tool buttons and status bar.
void TMainWindow::ConnectControls() {
    const auto connectAction = [this](TCommand command, auto slot) {
        connect(Commands.Action(command), &QAction::triggered, this, slot);
    };
    const auto showProjectData = [this] { Info.ShowProjectData(Projects->Project()); };
    connect(Commands.Action(TCommand::OpenLogFile), &QAction::triggered, Projects,
            &TProjectController::OpenLogFile);
    connectAction(TCommand::Quit, &QWidget::close);
    connectAction(TCommand::ProjectData, showProjectData);
    connectAction(TCommand::QuickReference, [this] { Info.ShowQuickReference(); });
    connectAction(TCommand::StartupWindow, [this] { Info.ShowStartupWindow(5000); });
    connect(Tools->OpenButton, &QToolButton::clicked, Projects, &TProjectController::OpenLogFile);
    connect(Tools->ProjectDataButton, &QToolButton::clicked, this, showProjectData);
    connect(Playback, &TPlaybackController::Message, Status->MessagePanel, &QLabel::setText);
    connect(Shots, &TScreenShotTaker::ShotSaved, this, [this](const QString& file, bool replacing) {
        Status->TellShotSaved(file, replacing);
    });
    connect(Shots, &TScreenShotTaker::ShotFailed, this,
            [this](const QString& file) { Status->TellShotFailed(file); });
    connect(Shots, &TScreenShotTaker::SeriesProgress, this,
            [this](bool running, qint64 frames) { Status->ShowSeries(running, frames); });
    ShowReplayTexts();
}

void TMainWindow::ConnectScreenShots() {
    Shots = new TScreenShotTaker(
        *View, Projects->Replay, [this] { return Projects->Project(); },
        *Commands.Action(TCommand::ScreenShotSeries), *Tools->SeriesButton, this);
    // A shot shows where the replay stands once the commands given before it have run.
    const auto shoot = [this] { Shots->TakeSingleShot(); };
    Playback->ConnectReplayCommand(Commands.Action(TCommand::SingleShot), &QAction::triggered,
                                   shoot);
    Playback->ConnectReplayCommand(Tools->SingleShotButton, &QToolButton::clicked, shoot);
    connect(Commands.Action(TCommand::Options), &QAction::triggered, Shots,
            &TScreenShotTaker::ShowOptions);
    Projects->Replay.BeforeStep = [this] { Shots->ShootSeriesFrame(); };
}

void TMainWindow::ConnectEvacuation() {
    Evacuation = new TEvacuationViews(
        [this] { return Projects->IsLoading() ? nullptr : Projects->LogFile.get(); },
        Projects->Replay, *View, *Commands.Action(TCommand::CongestionMap),
        *Commands.Action(TCommand::HidePersonsOnMap), *Commands.Action(TCommand::FlowLabels),
        *this);
    Evacuation->OnSecondChosen = [this](std::int32_t second) {
        Playback->ReplayCommands.Run([this, second] {
            if (Projects->LogFile != nullptr && !Projects->IsLoading()) {
                Projects->Replay.SeekToSecond(second);
            }
        });
    };
    Evacuation->ReplayKeys = Commands.Menu(TMenu::Animation)->actions();
    Evacuation->OnExported = [this](const QStringList& files, bool replacing) {
        Status->TellFilesSaved(files, replacing);
    };
    connect(Commands.Action(TCommand::EvacuationCurve), &QAction::triggered, Evacuation,
            &TEvacuationViews::ShowEvacuationCurve);
    connect(Commands.Action(TCommand::CongestionMap), &QAction::triggered, Evacuation,
            &TEvacuationViews::SwitchCongestionMap);
    Evacuation->SetWholeMapSwitch(*Commands.Action(TCommand::CongestionMapWholeReplay));
    Congestion = new TCongestionViews(
        [this] { return Projects->IsLoading() ? nullptr : Projects->LogFile.get(); },
        Shots->Options,
        [this](std::int32_t deck, std::int32_t step, float x, float y) {
            Playback->ReplayCommands.Run([this, deck, step, x, y] {
                if (Projects->LogFile != nullptr && !Projects->IsLoading()) {
                    Selection->EndFollow();
                    ViewCommands->ShowDeck(deck);
                    Projects->Replay.SeekToStep(step);
                    View->CentreOn(x, y);
                }
            });
        },
        *View, *Commands.Action(TCommand::CongestionOutlines), *this);
    connect(Commands.Action(TCommand::CongestionReport), &QAction::triggered, Congestion,
            &TCongestionViews::ShowReport);
    connect(View, &TDeckView::FloorClicked, Congestion, &TCongestionViews::FloorClicked);
    Congestion->OnExported = [this](const QString& file, bool replacing) {
        Status->TellShotSaved(file, replacing);
    };
    Congestion->OnExportFailed = [this](const QString& file) { Status->TellShotFailed(file); };
    connect(Shots, &TScreenShotTaker::OptionsApplied, Congestion,
            &TCongestionViews::MeasuresChanged);
    Evacuation->Measures = [this] { return AnalysisSettingsOf(Shots->Options); };
    connect(Shots, &TScreenShotTaker::OptionsApplied, Evacuation,
            &TEvacuationViews::MeasuresChanged);
    Commands.EnableProjectCommands(false);
    Overlays = new TPersonOverlays(
        [this] { return Projects->IsLoading() ? nullptr : Projects->LogFile.get(); },
        Projects->Replay, Shots->Options, *View, *Commands.Action(TCommand::ColourByWaiting),
        *Commands.Action(TCommand::Trails), this);
    connect(Shots, &TScreenShotTaker::OptionsApplied, Overlays, &TPersonOverlays::SpansChanged);
    ScaleBar =
        new TScaleBarSwitch(Shots->Options, *View, *Commands.Action(TCommand::ScaleBar), this);
    connect(Shots, &TScreenShotTaker::OptionsApplied, ScaleBar, &TScaleBarSwitch::Show);
}

void TMainWindow::ConnectPlayback() {
    Playback = new TPlaybackController(
        Projects->Replay, [this] { return Projects->LogLoaded; }, *Tools,
        {Tools->ResetButton, Tools->PlayButton, Tools->SecondBackwardButton,
         Tools->SecondForwardButton},
        Commands, this);
    connect(Playback, &TPlaybackController::SpeedFieldLeft, this, [this] { View->setFocus(); });
    ReplayTexts = new TPacedAction(
        std::chrono::milliseconds(100), [this] { ShowReplayTexts(); }, this);
    // Once playing stops, the texts tell at once where it stopped.
    connect(Tools->PlayButton, &QToolButton::toggled, this, [this](bool playing) {
        if (!playing) {
            ReplayTexts->Request(false);
        }
    });
    Projects->Replay.AfterStep = [this] {
        const TGLControl::THeldRedraws held(*View);
        Overlays->ShowStep();
        Evacuation->ShowMapStep();
        Selection->ShowStep();
        ReplayTexts->Request(Playback->AnimationTimer->isActive());
        ProcessPendingMessages();
        View->Paint();
    };
    Projects->Replay.AfterJump = [this] {
        const TGLControl::THeldRedraws held(*View);
        Overlays->ShowStep();
        Evacuation->ShowMapStep();
        Selection->ShowStep();
        ReplayTexts->Request(false);
        View->Paint();
    };
}

void TMainWindow::ConnectViewCommands() {
    ViewCommands = new TViewCommands(
        *View, *Tools->DeckChooser, *Status->LightsPanel, Commands,
        [this] { return Projects->LogLoaded; }, this);
    const auto connectDeckCommand = [this](auto* sender, auto signal,
                                           void (TViewCommands::*command)()) {
        Playback->ConnectReplayCommand(sender, signal,
                                       [views = ViewCommands, command] { (views->*command)(); });
    };
    // A deck change waits for the commands given before it, as the replay's own do.
    connectDeckCommand(Commands.Action(TCommand::DeckUp), &QAction::triggered,
                       &TViewCommands::DeckUp);
    connectDeckCommand(Commands.Action(TCommand::DeckDown), &QAction::triggered,
                       &TViewCommands::DeckDown);
    connectDeckCommand(Tools->DeckChooser, &QComboBox::activated, &TViewCommands::DeckChosen);
    ViewCommands->LogFolder = [this] {
        return Projects->LogFile != nullptr
                   ? QFileInfo(QString::fromStdString(Projects->LogFile->FileName)).absolutePath()
                   : QString();
    };
    connect(
        ViewCommands, &TViewCommands::CameraSaved, this,
        [this](const QString& file, bool replacing) { Status->TellShotSaved(file, replacing); });
}

void TMainWindow::ConnectSelection() {
    Selection = new TPersonSelection(
        [this] { return Projects->IsLoading() ? nullptr : Projects->LogFile.get(); },
        Projects->Replay, *View, *ViewCommands, *new TPersonPanel(this),
        *Commands.Action(TCommand::FollowSelected), this);
    // Each waits for the commands given before it, as the replay's own do.
    const auto connectCommand = [this](TCommand command, void (TPersonSelection::*run)()) {
        Playback->ConnectReplayCommand(Commands.Action(command), &QAction::triggered,
                                       [selection = Selection, run] { (selection->*run)(); });
    };
    connectCommand(TCommand::FindPerson, &TPersonSelection::FindPerson);
    connectCommand(TCommand::LastToLeave, &TPersonSelection::SelectLastToLeave);
    connectCommand(TCommand::ClearSelection, &TPersonSelection::Clear);
    connectCommand(TCommand::FollowSelected, &TPersonSelection::SwitchFollow);
    Selection->Tell = [this](const QString& text) { Status->MessagePanel->setText(text); };
    connect(View, &TDeckView::Clicked, Selection, &TPersonSelection::Pick);
    connect(View, &TDeckView::PannedByUser, Selection, &TPersonSelection::EndFollow);
    connect(ViewCommands, &TViewCommands::DeckChangedByUser, Selection,
            &TPersonSelection::EndFollow);
    connect(ViewCommands, &TViewCommands::CentreMovedByUser, Selection,
            &TPersonSelection::EndFollow);
}

void TMainWindow::ConnectProject() {
    connect(Projects, &TProjectController::LoadStarting, this, &TMainWindow::StartLoad);
    connect(Projects, &TProjectController::ProjectDropping, this, [this] {
        View->ClearProject();
        Evacuation->Drop();
        Congestion->Drop();
        Overlays->Drop();
        Selection->Drop();
        Commands.EnableProjectCommands(false);
    });
    connect(Projects, &TProjectController::FileLoaded, this,
            [this](const QString& path) { setWindowTitle(::ProductName + ", " + path); });
    connect(Projects, &TProjectController::ProjectArriving, this,
            [this](TLogFile& project) { View->ShowProject(project); });
    connect(Projects, &TProjectController::ProjectShown, this, [this] {
        Overlays->ShowStep();
        ViewCommands->ShowLights();
        ShowReplayTexts();
        ViewCommands->ShowDecks(*Projects->LogFile);
        Commands.EnableProjectCommands(true);
    });
    connect(Projects, &TProjectController::LoadEnding, this, &TMainWindow::EndLoad);
    connect(Projects, &TProjectController::RecentFilesChanged, this,
            [this] { RecentMenu->Show(Projects->RecentFiles); });
    connect(Projects, &TProjectController::CloseDue, this, &QWidget::close);
    // A modal box inside a paint would paint again: the box waits until the frame is done.
    connect(View, &TDeckView::BadHeadingFound, this, &ShowBadHeadingBox, Qt::QueuedConnection);
}

// The window is made at its first use. It measures congestion with the options' measures, and a
// log chosen in it is opened as one chosen in the open dialog, once the click is over.
void TMainWindow::ConnectCompareRuns() {
    connect(Commands.Action(TCommand::CompareRuns), &QAction::triggered, this, [this] {
        if (CompareRuns == nullptr) {
            CompareRuns = new TCompareRunsWindow(this);
            CompareRuns->Measures = [this] { return AnalysisSettingsOf(Shots->Options); };
            CompareRuns->OnSaved = [this](const QStringList& files, bool replacing) {
                Status->TellFilesSaved(files, replacing);
            };
            CompareRuns->OnRunChosen = [this](const QString& file) {
                raise();
                activateWindow();
                QTimer::singleShot(0, Projects, [this, file] { Projects->OpenChosenFile(file); });
            };
        }
        CompareRuns->ChooseLogs();
    });
}

void TMainWindow::ShowReplayTexts() {
    Status->TimePanel->setText(QString::fromStdString(Projects->Replay.TimeText()));
    Status->SavedPanel->setText(QString::fromStdString(Projects->Replay.SavedText()));
    Playback->ShowReplayPosition();
    Evacuation->ShowCurveTime();
}

void TMainWindow::ConnectVideoExport() {
    // It runs in turn among the replay's commands, the replay standing still while it writes.
    Playback->ConnectReplayCommand(Commands.Action(TCommand::ExportVideo), &QAction::triggered,
                                   [this] { ExportVideo(); });
}

void TMainWindow::ExportVideo() {
    TLogFile* project = Projects->Project() != nullptr ? Projects->LogFile.get() : nullptr;
    if (project == nullptr) {
        return;
    }
    Playback->StopAnimation();
    if (VideoExport == nullptr) {
        VideoExport = new TVideoExportWindow(*View, this);
        VideoExport->Look = [this] {
            TFilmLook look;
            look.Deck = View->DeckIndex();
            look.Camera = View->CameraState();
            look.Layers = View->Layers();
            look.Following = Selection->IsFollowing();
            return look;
        };
        VideoExport->StepShown = [this] { return Projects->Replay.TimeStep(); };
        connect(VideoExport, &TVideoExportWindow::VideoSaved, this,
                [this](const QString& file, bool replacing) {
                    Status->TellShotSaved(file, replacing);
                });
    }
    VideoExport->ShowFor(*project, Playback->PlaybackSpeed(), Shots->Options.CaptionOnVideos);
}
