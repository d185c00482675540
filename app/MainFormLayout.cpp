// The main window's menus, tool bar and status bar.

#include "MainForm.h"

#include "DeckView.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace {

QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    return action;
}

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

void TMainForm::CreateMenus() {
    FileMenu = CreateFileMenu();
    CreateViewsAndAnimationMenus();
    CreateSettingsAndHelpMenus();
}

QMenu* TMainForm::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu("&File");
    OpenAction = AddItem(menu, "&Load logfile", QKeySequence("Ctrl+L"));
    connect(OpenAction, &QAction::triggered, this, &TMainForm::OpenLogFile);
    menu->addSeparator();
    SingleShotAction = AddItem(menu, "&Single screen shot", QKeySequence("Y"));
    SeriesAction = AddItem(menu, "S&creen shot series", QKeySequence("X"));
    menu->addSeparator();
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction* item = AddItem(menu, QString("&%1 ...").arg(i + 1));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { OpenRecent(i); });
        RecentItems[static_cast<std::size_t>(i)] = item;
    }
    RecentFilesSeparator = menu->addSeparator();
    RecentFilesSeparator->setVisible(false);
    QuitAction = AddItem(menu, "Quit", QKeySequence("Alt+F4"));
    connect(QuitAction, &QAction::triggered, this, &TMainForm::Quit);
    return menu;
}

void TMainForm::CreateViewsAndAnimationMenus() {
    ViewsMenu = menuBar()->addMenu("&Views");
    DeckUpAction = AddItem(ViewsMenu, "Deck up", QKeySequence("W"));
    DeckDownAction = AddItem(ViewsMenu, "Deck down", QKeySequence("S"));
    ViewsMenu->addSeparator();
    ZoomInAction = AddItem(ViewsMenu, "Zoom in", QKeySequence("Q"));
    ZoomOutAction = AddItem(ViewsMenu, "Zoom out", QKeySequence("A"));
    ViewsMenu->addSeparator();
    EvacuationCurveAction = AddItem(ViewsMenu, "Evacuation &curve...", QKeySequence("E"));
    CongestionMapAction = AddItem(ViewsMenu, "Congestion &map", QKeySequence("H"));
    CongestionMapAction->setCheckable(true);
    ConnectReplayCommand(DeckUpAction, &QAction::triggered, &TMainForm::DeckUp);
    ConnectReplayCommand(DeckDownAction, &QAction::triggered, &TMainForm::DeckDown);
    connect(ZoomInAction, &QAction::triggered, this, &TMainForm::ZoomIn);
    connect(ZoomOutAction, &QAction::triggered, this, &TMainForm::ZoomOut);

    AnimationMenu = menuBar()->addMenu("&Animation");
    PlayPauseAction = AddItem(AnimationMenu, "&Run/Pause", QKeySequence("2"));
    ResetAction = AddItem(AnimationMenu, "Reset to &start", QKeySequence("1"));
    AnimationMenu->addSeparator();
    SecondForwardAction = AddItem(AnimationMenu, "Step &forward", QKeySequence("4"));
    SecondBackwardAction = AddItem(AnimationMenu, "Step &backward", QKeySequence("3"));
    StepForwardAction =
        AddItem(AnimationMenu, "Step one time step forward", QKeySequence("Shift+4"));
    StepBackwardAction =
        AddItem(AnimationMenu, "Step one time step backward", QKeySequence("Shift+3"));
}

void TMainForm::CreateSettingsAndHelpMenus() {
    SettingsMenu = menuBar()->addMenu("&Settings");
    OriginMarkerAction = AddItem(SettingsMenu, "S&how origin");
    OriginMarkerAction->setCheckable(true);
    OriginMarkerAction->setChecked(true);
    AddLightAction = AddItem(SettingsMenu, "&Add light", QKeySequence("L"));
    RemoveLightAction = AddItem(SettingsMenu, "&Remove light", QKeySequence("Shift+L"));
    SettingsMenu->addSeparator();
    OptionsAction = AddItem(SettingsMenu, "&Options...");
    ProjectDataAction = AddItem(SettingsMenu, "&Statistics...");
    connect(OriginMarkerAction, &QAction::triggered, this, &TMainForm::SwitchOriginMarker);
    connect(AddLightAction, &QAction::triggered, this, &TMainForm::AddLightAtCentre);
    connect(RemoveLightAction, &QAction::triggered, this, &TMainForm::RemoveNearestLight);

    HelpMenu = menuBar()->addMenu("Help");
    QuickReferenceAction = AddItem(HelpMenu, "Help...", QKeySequence("F1"));
    HelpMenu->addSeparator();
    StartupWindowAction = AddItem(HelpMenu, "Startup window...");
    connect(StartupWindowAction, &QAction::triggered, this, &TMainForm::ShowStartupWindow);
    connect(ProjectDataAction, &QAction::triggered, this, &TMainForm::ShowProjectData);
    connect(QuickReferenceAction, &QAction::triggered, this, &TMainForm::ShowQuickReference);
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
    connect(OpenButton, &QToolButton::clicked, this, &TMainForm::OpenLogFile);
    connect(ProjectDataButton, &QToolButton::clicked, this, &TMainForm::ShowProjectData);
    ConnectReplayCommand(DeckChooser, &QComboBox::activated, &TMainForm::DeckChosen);
    CreateTimeControls();
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
    LightsPanel->setText(LightsText(std::nullopt));
    ShowReplayTexts();
}

void TMainForm::ShowRecentFiles() {
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction* item = RecentItems[static_cast<std::size_t>(i)];
        const bool used = i < RecentFiles.Count();
        if (used) {
            item->setText(RecentFiles.MenuCaption(i));
            item->setVisible(true);
        }
    }
    if (RecentFiles.Count() > 0) {
        RecentFilesSeparator->setVisible(true);
    }
}
