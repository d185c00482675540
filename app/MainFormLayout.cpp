// The main window's menus, tool bar and status bar, and the wiring of its parts.

#include "MainForm.h"

#include "DeckView.h"
#include "MessageNesting.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace {

struct TToolButtonLayout {
    int Left;
    QStyle::StandardPixmap Picture;
    const char* Hint;
    bool Toggle;
};

QToolButton* AddToolButton(QWidget* panel, const TToolButtonLayout& place) {
    auto* button = new QToolButton(panel);
    button->setGeometry(place.Left, 0, 21, 21);
    button->setIcon(QApplication::style()->standardIcon(place.Picture));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(place.Hint);
    button->setCheckable(place.Toggle);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

// The menus come from the command table; the recent files go above Quit, with a separator of their
// own that shows with them.
void TMainForm::CreateMenus() {
    QMenu* file = Menu(TMenu::File);
    QAction* quit = Action(TCommand::Quit);
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        auto* item = new QAction(QString("&%1 ...").arg(i + 1), file);
        file->insertAction(quit, item);
        item->setVisible(false);
        connect(item, &QAction::triggered, Projects, [this, i] { Projects->OpenRecent(i); });
        RecentItems[static_cast<std::size_t>(i)] = item;
    }
    RecentFilesSeparator = file->insertSeparator(quit);
    RecentFilesSeparator->setVisible(false);
    ConnectCommands();
}

void TMainForm::ConnectCommands() {
    const auto connectAction = [this](TCommand command, void (TMainForm::*slot)()) {
        connect(Action(command), &QAction::triggered, this, slot);
    };
    connect(Action(TCommand::OpenLogFile), &QAction::triggered, Projects,
            &TProjectController::OpenLogFile);
    connectAction(TCommand::Quit, &TMainForm::Quit);
    connectAction(TCommand::ProjectData, &TMainForm::ShowProjectData);
    connectAction(TCommand::QuickReference, &TMainForm::ShowQuickReference);
    connectAction(TCommand::StartupWindow, &TMainForm::ShowStartupWindow);
}

void TMainForm::ConnectScreenShots() {
    Shots = new TScreenShotTaker(
        *View, Projects->Replay, [this] { return Projects->Project(); },
        *Action(TCommand::ScreenShotSeries), *SeriesButton, this);
    // A shot shows where the replay stands once the commands given before it have run.
    const auto shoot = [this] { Shots->TakeSingleShot(); };
    Playback->ConnectReplayCommand(Action(TCommand::SingleShot), &QAction::triggered, shoot);
    Playback->ConnectReplayCommand(SingleShotButton, &QToolButton::clicked, shoot);
    connect(Action(TCommand::Options), &QAction::triggered, Shots, &TScreenShotTaker::ShowOptions);
    Projects->Replay.BeforeStep = [this] { Shots->ShootSeriesFrame(); };
}

void TMainForm::ConnectEvacuation() {
    Evacuation = new TEvacuationViews(
        [this] { return Projects->IsLoading() ? nullptr : Projects->LogFile.get(); },
        Projects->Replay, *View, *Action(TCommand::CongestionMap), *this);
    Evacuation->OnSecondChosen = [this](std::int32_t second) {
        Playback->RunReplayCommand([this, second] {
            if (Projects->LogFile != nullptr && !Projects->IsLoading()) {
                Projects->Replay.SeekToSecond(second);
            }
        });
    };
    Evacuation->ReplayKeys = Menu(TMenu::Animation)->actions();
    Evacuation->ReplayKeys << Action(TCommand::GoToStart) << Action(TCommand::GoToEnd);
    connect(Action(TCommand::EvacuationCurve), &QAction::triggered, Evacuation,
            &TEvacuationViews::ShowEvacuationCurve);
    connect(Action(TCommand::CongestionMap), &QAction::triggered, Evacuation,
            &TEvacuationViews::SwitchCongestionMap);
    ShowEvacuationCommands();
}

void TMainForm::ShowEvacuationCommands() {
    Commands.EnableProjectCommands(Projects->Project() != nullptr);
}

void TMainForm::CreateToolBar() {
    ToolBarPanel = new QWidget(centralWidget());
    ToolBarPanel->setFixedHeight(21);
    OpenButton =
        AddToolButton(ToolBarPanel, {0, QStyle::SP_DialogOpenButton, "load file [Ctrl+L]", false});
    ProjectDataButton =
        AddToolButton(ToolBarPanel, {21, QStyle::SP_FileDialogDetailedView, "statistics", false});
    DeckChooser = new QComboBox(ToolBarPanel);
    DeckChooser->setGeometry(47, 0, 138, 21);
    DeckChooser->addItem("---");
    DeckChooser->setToolTip("choose deck [up: w, down: s]");
    ResetButton = AddToolButton(ToolBarPanel,
                                {191, QStyle::SP_MediaSkipBackward, "reset to start [1]", false});
    PlayButton = AddToolButton(ToolBarPanel, {212, QStyle::SP_MediaPlay, "play loop [2]", true});
    SecondBackwardButton =
        AddToolButton(ToolBarPanel, {233, QStyle::SP_MediaSeekBackward, "step back [3]", false});
    SecondForwardButton =
        AddToolButton(ToolBarPanel, {254, QStyle::SP_MediaSeekForward, "step forward [4]", false});
    SingleShotButton =
        AddToolButton(ToolBarPanel, {280, QStyle::SP_DesktopIcon, "single screen shot [Y]", false});
    SeriesButton =
        AddToolButton(ToolBarPanel, {301, QStyle::SP_DirLinkIcon, "screen shot series [X]", true});
    connect(OpenButton, &QToolButton::clicked, Projects, &TProjectController::OpenLogFile);
    connect(ProjectDataButton, &QToolButton::clicked, this, &TMainForm::ShowProjectData);
    ConnectPlayback();
}

void TMainForm::ConnectPlayback() {
    Playback = new TPlaybackController(
        Projects->Replay, [this] { return Projects->LogLoaded; }, *ToolBarPanel,
        {ResetButton, PlayButton, SecondBackwardButton, SecondForwardButton}, Commands, this);
    connect(Playback, &TPlaybackController::SpeedFieldLeft, this, [this] { View->setFocus(); });
    Projects->Replay.AfterStep = [this] {
        ShowReplayTexts();
        ProcessPendingMessages();
        View->Paint();
    };
    Projects->Replay.AfterJump = [this] {
        ShowReplayTexts();
        View->Paint();
    };
}

void TMainForm::ConnectViewCommands() {
    ViewCommands = new TViewCommands(
        *View, *DeckChooser, *LightsPanel, Commands, [this] { return Projects->LogLoaded; }, this);
    const auto connectDeckCommand = [this](auto* sender, auto signal,
                                           void (TViewCommands::*command)()) {
        Playback->ConnectReplayCommand(sender, signal,
                                       [views = ViewCommands, command] { (views->*command)(); });
    };
    // A deck change waits for the commands given before it, as the replay's own do.
    connectDeckCommand(Action(TCommand::DeckUp), &QAction::triggered, &TViewCommands::DeckUp);
    connectDeckCommand(Action(TCommand::DeckDown), &QAction::triggered, &TViewCommands::DeckDown);
    connectDeckCommand(DeckChooser, &QComboBox::activated, &TViewCommands::DeckChosen);
}

void TMainForm::ConnectProject() {
    connect(Projects, &TProjectController::LoadStarting, this, &TMainForm::StartLoad);
    connect(Projects, &TProjectController::ProjectDropping, this, [this] {
        View->ClearProject();
        Evacuation->Drop();
        Commands.EnableProjectCommands(false);
    });
    connect(Projects, &TProjectController::FileLoaded, this,
            [this](const QString& path) { setWindowTitle(ProductName + ", " + path); });
    connect(Projects, &TProjectController::ProjectArriving, this,
            [this](TLogFile& project) { View->ShowProject(project); });
    connect(Projects, &TProjectController::ProjectShown, this, &TMainForm::ShowLoadedProject);
    connect(Projects, &TProjectController::LoadEnding, this, &TMainForm::EndLoad);
    connect(Projects, &TProjectController::RecentFilesChanged, this, &TMainForm::ShowRecentFiles);
    connect(Projects, &TProjectController::CloseDue, this, &QWidget::close);
}

void TMainForm::ShowReplayTexts() {
    TimePanel->setText(QString::fromStdString(Projects->Replay.TimeText()));
    SavedPanel->setText(QString::fromStdString(Projects->Replay.SavedText()));
    Playback->ShowReplayPosition();
    Evacuation->ShowCurveTime();
}

void TMainForm::CreateStatusBar() {
    const auto addPanel = [this](int width, int stretch) {
        auto* panel = new QLabel(this);
        // Panels keep their widths but grow rather than cut their text off.
        panel->setMinimumWidth(width);
        statusBar()->addWidget(panel, stretch);
        return panel;
    };
    LightsPanel = addPanel(50, 0);
    TimePanel = addPanel(100, 0);
    SavedPanel = addPanel(100, 0);
    MessagePanel = addPanel(50, 1);
    connect(Playback, &TPlaybackController::Message, MessagePanel, &QLabel::setText);
    ShowReplayTexts();
}

void TMainForm::ShowRecentFiles() {
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction* item = RecentItems[static_cast<std::size_t>(i)];
        const bool used = i < Projects->RecentFiles.Count();
        if (used) {
            item->setText(Projects->RecentFiles.MenuCaption(i));
            item->setVisible(true);
        }
    }
    if (Projects->RecentFiles.Count() > 0) {
        RecentFilesSeparator->setVisible(true);
    }
}
