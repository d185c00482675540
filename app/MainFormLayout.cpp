// The main window's menus, tool bar and status bar.

#include "MainForm.h"

#include "CellView3D.h"

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
    File1 = CreateFileMenu();
    CreateViewsAndAnimationMenus();
    CreateSettingsAndHelpMenus();
}

QMenu* TMainForm::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu("&File");
    LoadLogfile1 = AddItem(menu, "&Load logfile", QKeySequence("Ctrl+L"));
    connect(LoadLogfile1, &QAction::triggered, this, &TMainForm::BitBtn1Click);
    menu->addSeparator();
    SingleShotAction = AddItem(menu, "&Single screen shot", QKeySequence("Y"));
    Screenshotseries1 = AddItem(menu, "S&creen shot series", QKeySequence("X"));
    menu->addSeparator();
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction* item = AddItem(menu, QString("&%1 ...").arg(i + 1));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { OpenRecent(i); });
        RecentItems[static_cast<std::size_t>(i)] = item;
    }
    N1 = menu->addSeparator();
    N1->setVisible(false);
    Quit1 = AddItem(menu, "Quit", QKeySequence("Alt+F4"));
    connect(Quit1, &QAction::triggered, this, &TMainForm::Quit1Click);
    return menu;
}

void TMainForm::CreateViewsAndAnimationMenus() {
    Views1 = menuBar()->addMenu("&Views");
    DeckUpAction = AddItem(Views1, "Deck up", QKeySequence("W"));
    DeckDownAction = AddItem(Views1, "Deck down", QKeySequence("S"));
    Views1->addSeparator();
    Zoomin1 = AddItem(Views1, "Zoom in", QKeySequence("Q"));
    Zoomout1 = AddItem(Views1, "Zoom out", QKeySequence("A"));
    Views1->addSeparator();
    EvacuationCurve1 = AddItem(Views1, "Evacuation &curve...", QKeySequence("E"));
    CongestionMap1 = AddItem(Views1, "Congestion &map", QKeySequence("H"));
    CongestionMap1->setCheckable(true);
    ConnectReplayCommand(DeckUpAction, &QAction::triggered, &TMainForm::DeckUp);
    ConnectReplayCommand(DeckDownAction, &QAction::triggered, &TMainForm::DeckDown);
    connect(Zoomin1, &QAction::triggered, this, &TMainForm::Button1Click);
    connect(Zoomout1, &QAction::triggered, this, &TMainForm::Button2Click);

    Animation1 = menuBar()->addMenu("&Animation");
    PlayPauseAction = AddItem(Animation1, "&Run/Pause", QKeySequence("2"));
    ResetAction = AddItem(Animation1, "Reset to &start", QKeySequence("1"));
    Animation1->addSeparator();
    SecondForwardAction = AddItem(Animation1, "Step &forward", QKeySequence("4"));
    SecondBackwardAction = AddItem(Animation1, "Step &backward", QKeySequence("3"));
    StepForwardAction = AddItem(Animation1, "Step one time step forward", QKeySequence("Shift+4"));
    StepBackwardAction =
        AddItem(Animation1, "Step one time step backward", QKeySequence("Shift+3"));
}

void TMainForm::CreateSettingsAndHelpMenus() {
    Settings1 = menuBar()->addMenu("&Settings");
    ShowOrigin = AddItem(Settings1, "S&how origin");
    ShowOrigin->setCheckable(true);
    ShowOrigin->setChecked(true);
    AddLight = AddItem(Settings1, "&Add light", QKeySequence("L"));
    RemoveLight = AddItem(Settings1, "&Remove light", QKeySequence("Shift+L"));
    Settings1->addSeparator();
    Options1 = AddItem(Settings1, "&Options...");
    Statistics = AddItem(Settings1, "&Statistics...");
    connect(ShowOrigin, &QAction::triggered, this, &TMainForm::ShowOriginClick);
    connect(AddLight, &QAction::triggered, this, &TMainForm::AddLightClick);
    connect(RemoveLight, &QAction::triggered, this, &TMainForm::RemoveLightClick);

    Help1 = menuBar()->addMenu("Help");
    Help2 = AddItem(Help1, "Help...", QKeySequence("F1"));
    Help1->addSeparator();
    StartupWindow1 = AddItem(Help1, "Startup window...");
    connect(StartupWindow1, &QAction::triggered, this, &TMainForm::StartupWindow1Click);
    connect(Statistics, &QAction::triggered, this, &TMainForm::BitBtn2Click);
    connect(Help2, &QAction::triggered, this, &TMainForm::Help2Click);
}

void TMainForm::CreateToolBar() {
    Panel1 = new QWidget(centralWidget());
    Panel1->setFixedHeight(21);
    BitBtn1 = AddToolButton(Panel1, {0, QStyle::SP_DialogOpenButton, "load file [Ctrl+L]", false});
    BitBtn2 = AddToolButton(Panel1, {21, QStyle::SP_FileDialogDetailedView, "statistics", false});
    DeckChooser = new QComboBox(Panel1);
    DeckChooser->setGeometry(47, 0, 138, 21);
    DeckChooser->addItem("---");
    DeckChooser->setToolTip("choose deck [up: w, down: s]");
    ResetButton =
        AddToolButton(Panel1, {191, QStyle::SP_MediaSkipBackward, "reset to start [1]", false});
    PlayButton = AddToolButton(Panel1, {212, QStyle::SP_MediaPlay, "play loop [2]", true});
    SecondBackwardButton =
        AddToolButton(Panel1, {233, QStyle::SP_MediaSeekBackward, "step back [3]", false});
    SecondForwardButton =
        AddToolButton(Panel1, {254, QStyle::SP_MediaSeekForward, "step forward [4]", false});
    SingleShotButton =
        AddToolButton(Panel1, {280, QStyle::SP_DesktopIcon, "single screen shot [Y]", false});
    SpeedButton_ScreenShotSeries =
        AddToolButton(Panel1, {301, QStyle::SP_DirLinkIcon, "screen shot series [X]", true});
    connect(BitBtn1, &QToolButton::clicked, this, &TMainForm::BitBtn1Click);
    connect(BitBtn2, &QToolButton::clicked, this, &TMainForm::BitBtn2Click);
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
        N1->setVisible(true);
    }
}
