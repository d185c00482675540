#include "MainWindow.h"

#include "DeckView.h"
#include "MessageNesting.h"
#include "OptionsWindow.h"
#include "ProgramSettings.h"
#include "ProgressDialog.h"
#include "QuickReferenceWindow.h"
#include "StartupWindow.h"
#include "UiServices.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
    setMinimumSize(350, 250);
    resize(350, 250);
    BuildWindow();
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::SetWindows(const TWindows& windows) {
    Progress = windows.Progress;
    Info = TInfoWindows(windows.Intro, windows.Help, windows.ProjectData);
    Shots->SetOptionsWindow(windows.Options);
    Evacuation->SetProgressDialog(windows.Progress);
    Congestion->SetProgressDialog(windows.Progress);
    Projects->SetProgressWindow(windows.Progress);
    // Alt+F4 at a window that cannot close: the program ends once that window and the project
    // are free, as at the main window.
    for (TUnclosableDialog* window :
         std::initializer_list<TUnclosableDialog*>{windows.Progress, windows.Intro, windows.Help}) {
        if (window != nullptr) {
            connect(window, &TUnclosableDialog::ProgramCloseRequested, this, [this] {
                if (isVisible()) { // else it has closed already, and the program is ending
                    close();
                }
            });
        }
    }
    if (windows.Options != nullptr) {
        // The largest shot: the window's width, the view's height, as they are at OK.
        windows.Options->ShotBounds = [this] {
            return QSize(centralWidget()->width(), View->height());
        };
    }
}

void TMainWindow::SetPendingFileName(const QString& path) {
    PendingFileName = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

void TMainWindow::BuildWindow() {
    Projects = new TProjectController(this);
    setWindowTitle(::ProductName);
    setWindowIcon(QIcon(":/icons/ambla-viewer.png"));
    setAcceptDrops(true);
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    View = new TDeckView(client);
    View->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(View, 1);
    setCentralWidget(client);
    RecentMenu =
        new TRecentFilesMenu(*Commands.Menu(TMenu::File), *Commands.Action(TCommand::Quit));
    connect(RecentMenu, &TRecentFilesMenu::Chosen, Projects, &TProjectController::OpenRecent);
    Tools = new TToolBar(client);
    layout->addWidget(Tools);
    ConnectPlayback();
    ConnectScreenShots();
    ConnectEvacuation();
    Status = std::make_unique<TStatusPanels>(*statusBar());
    ConnectControls();
    ConnectViewCommands();
    ConnectSelection();
    ConnectProject();
    ConnectCompareRuns();
    ConnectVideoExport();
    Playback->StopAnimation();

    TProgramSettings settings;
    settings.CreateKey();
    Playback->ReadSpeed(settings);
    Projects->RecentFiles.ReadFromStore(settings);
    RecentMenu->Show(Projects->RecentFiles);
    Shots->ReadOptions(settings);
    Overlays->ReadSettings(settings);
    Evacuation->ReadSettings(settings);
    ScaleBar->ReadSettings(settings);
}

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be told that it is active.
    QTimer::singleShot(0, this, &TMainWindow::StartOnFirstActivation);
}

void TMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        StartOnFirstActivation();
    }
}

void TMainWindow::StartOnFirstActivation() {
    if (!FirstActivation) {
        return;
    }
    FirstActivation = false;
    Info.ShowStartupWindow(1000);
    if (!PendingFileName.isEmpty()) {
        const QString path = PendingFileName;
        PendingFileName.clear();
        Status->MessagePanel->setText("Loading " + Status->Shortened(path));
        ProcessPendingMessages();
        Projects->LoadLogFile(path);
    }
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (Projects->ProjectInUse()) {
        Projects->RequestClose();
        event->ignore();
        return;
    }
    EndOnClose();
    event->accept();
}

void TMainWindow::EndOnClose() {
    Playback->StopAnimation();
    // Asked for while the pause played on: the window is closing now, and nothing is loaded.
    Projects->ForgetWaitingRequests();
    Status->MessagePanel->setText(QString());
    Projects->DropProject();
    if (const QString error = WriteSettings(); !error.isEmpty()) {
        ShowError(error.toStdString());
    }
}

// What this window changed, merged into what the store holds now; the first refusal ends it,
// so that one reason is shown once.
QString TMainWindow::WriteSettings() const {
    TProgramSettings settings;
    if (!Playback->WriteSpeed(settings) || !Overlays->WriteSettings(settings) ||
        !Evacuation->WriteSettings(settings) || !ScaleBar->WriteSettings(settings)) {
        return settings.LastError();
    }
    return Shots->WriteOptions(settings);
}

void TMainWindow::EnableControls(bool enabled) {
    for (QMenu* menu : {Commands.Menu(TMenu::File), Commands.Menu(TMenu::Views),
                        Commands.Menu(TMenu::Animation), Commands.Menu(TMenu::Settings)}) {
        menu->setEnabled(enabled);
        menu->menuAction()->setEnabled(enabled);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             Tools->OpenButton, Tools->ProjectDataButton, Tools->DeckChooser, Tools->ResetButton,
             Tools->PlayButton, Tools->SecondBackwardButton, Tools->SecondForwardButton,
             Tools->SingleShotButton, Tools->SeriesButton, Playback->TimeSlider,
             Playback->SpeedChooser}) {
        control->setEnabled(enabled);
    }
    Commands.EnableCommandsOutsideHelp(enabled, Projects->Project() != nullptr);
    View->SetIsControlEnabled(enabled);
}

void TMainWindow::StartLoad(const QString& path) {
    EnableControls(false);
    Playback->StopAnimation();
    // After stopping, which clears this panel, so that it tells what is loading all along.
    Status->MessagePanel->setText("Loading " + Status->Shortened(path));
    Progress->SetInfoText("Loading logfile...");
    Progress->Show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessPendingMessages();
}

void TMainWindow::EndLoad() {
    QGuiApplication::restoreOverrideCursor();
    Progress->Close();
    Status->MessagePanel->setText(" ");
    EnableControls(true);
    ProcessPendingMessages();
}
