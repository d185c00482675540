#include "MainForm.h"

#include "DeckView.h"
#include "HelpForm.h"
#include "IntroForm.h"
#include "MessageNesting.h"
#include "OptionsForm.h"
#include "ProgramSettings.h"
#include "ProgressDialog.h"
#include "ProjectDataForm.h"
#include "TextConversion.h"
#include "UiServices.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
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

namespace {

constexpr int StatusPathWidth = 500;

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ProductName(::ProductName) {
    setMinimumSize(350, 250);
    resize(350, 250);
    BuildWindow();
}

TMainForm::~TMainForm() = default;

void TMainForm::SetWindows(const TWindows& windows) {
    ProgressDialog = windows.Progress;
    IntroForm = windows.Intro;
    OptionsForm = windows.Options;
    Shots->SetOptionsForm(OptionsForm);
    Evacuation->SetProgressDialog(ProgressDialog);
    Projects->SetProgressWindow(ProgressDialog);
    ProjectDataForm = windows.ProjectData;
    HelpForm = windows.Help;
    for (TUnclosableDialog* window :
         std::initializer_list<TUnclosableDialog*>{ProgressDialog, IntroForm, HelpForm}) {
        if (window != nullptr) {
            connect(window, &TUnclosableDialog::ProgramCloseRequested, this,
                    &TMainForm::CloseAskedElsewhere);
        }
    }
    if (OptionsForm != nullptr) {
        // The largest shot: the window's width, the view's height, as they are at OK.
        OptionsForm->ShotBounds = [this] {
            return QSize(centralWidget()->width(), View->height());
        };
    }
}

void TMainForm::SetPendingFileName(const QString& path) {
    PendingFileName = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

void TMainForm::BuildWindow() {
    Projects = new TProjectController(this);
    setWindowTitle(ProductName);
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
    CreateMenus();
    CreateToolBar();
    layout->addWidget(ToolBarPanel);
    ConnectScreenShots();
    ConnectEvacuation();
    CreateStatusBar();
    ConnectViewCommands();
    ConnectProject();
    Playback->StopAnimation();

    TProgramSettings settings;
    settings.CreateKey();
    Playback->ReadSpeed(settings);
    Projects->RecentFiles.ReadFromStore(settings);
    ShowRecentFiles();
    Shots->ReadOptions(settings);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be told that it is active.
    QTimer::singleShot(0, this, &TMainForm::StartOnFirstActivation);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        StartOnFirstActivation();
    }
}

void TMainForm::StartOnFirstActivation() {
    if (!FirstActivation) {
        return;
    }
    FirstActivation = false;
    ShowIntro(1000);
    if (!PendingFileName.isEmpty()) {
        const QString path = PendingFileName;
        PendingFileName.clear();
        MessagePanel->setText("Loading " + ShortenedForStatus(path));
        ProcessPendingMessages();
        Projects->LoadLogFile(path);
    }
}

void TMainForm::CloseAskedElsewhere() {
    if (isVisible()) { // else it has closed already, and the program is ending
        close();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Projects->ProjectInUse()) {
        Projects->RequestClose();
        event->ignore();
        return;
    }
    EndOnClose();
    event->accept();
}

void TMainForm::EndOnClose() {
    Playback->StopAnimation();
    // Asked for while the pause played on: the window is closing now, and nothing is loaded.
    Projects->ForgetWaitingRequests();
    MessagePanel->setText(QString());
    Projects->DropProject();
    if (const QString error = WriteSettings(); !error.isEmpty()) {
        ShowError(error.toStdString());
    }
}

// What this window changed, merged into what the store holds now; the first refusal ends it,
// so that one reason is shown once.
QString TMainForm::WriteSettings() const {
    TProgramSettings settings;
    if (!Playback->WriteSpeed(settings)) {
        return settings.LastError();
    }
    return Shots->WriteOptions(settings);
}

void TMainForm::Quit() {
    close();
}

void TMainForm::ShowProjectData() {
    if (ProjectDataForm != nullptr) {
        ProjectDataForm->ShowReport(Projects->Project());
    }
}

void TMainForm::ShowQuickReference() {
    if (HelpForm != nullptr) {
        const TMessageNesting modal; // a modal window runs messages until it closes
        HelpForm->exec();
    }
}

void TMainForm::ShowStartupWindow() {
    ShowIntro(5000);
}

void TMainForm::ShowIntro(int milliseconds) {
    if (IntroForm != nullptr) {
        IntroForm->SetDisplayTime(milliseconds);
        const TMessageNesting nesting; // a modal window runs messages until it closes
        IntroForm->exec();
    }
}

void TMainForm::EnableControls(bool enabled) {
    for (QMenu* menu :
         {Menu(TMenu::File), Menu(TMenu::Views), Menu(TMenu::Animation), Menu(TMenu::Settings)}) {
        menu->setEnabled(enabled);
        menu->menuAction()->setEnabled(enabled);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             OpenButton, ProjectDataButton, DeckChooser, ResetButton, PlayButton,
             SecondBackwardButton, SecondForwardButton, SingleShotButton, SeriesButton,
             Playback->TimeSlider, Playback->SpeedChooser}) {
        control->setEnabled(enabled);
    }
    Commands.EnableWindowShortcuts(enabled);
    View->SetIsControlEnabled(enabled);
}

void TMainForm::StartLoad(const QString& path) {
    EnableControls(false);
    Playback->StopAnimation();
    // After stopping, which clears this panel, so that it tells what is loading all along.
    MessagePanel->setText("Loading " + ShortenedForStatus(path));
    ProgressDialog->SetInfoText("Loading logfile...");
    ProgressDialog->Show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessPendingMessages();
}

void TMainForm::ShowLoadedProject() {
    ViewCommands->ShowLights();
    ShowReplayTexts();
    ViewCommands->ShowDecks(*Projects->LogFile);
    ShowEvacuationCommands();
}

void TMainForm::EndLoad() {
    QGuiApplication::restoreOverrideCursor();
    ProgressDialog->Close();
    MessagePanel->setText(" ");
    EnableControls(true);
    ProcessPendingMessages();
}

QString TMainForm::ShortenedForStatus(const QString& path) const {
    const QFontMetrics metrics(statusBar()->font());
    return metrics.elidedText(path, Qt::ElideMiddle, StatusPathWidth);
}
