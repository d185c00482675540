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
    Playback->StopAnimation();

    TProgramSettings settings;
    settings.CreateKey();
    Playback->ReadSpeed(settings);
    RecentFiles.ReadFromStore(settings);
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
        LoadLogFile(path);
    }
}

void TMainForm::CloseAskedElsewhere() {
    if (isVisible()) { // else it has closed already, and the program is ending
        close();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (ProjectInUse()) {
        CloseRequested = true;
        WaitForProject();
        event->ignore();
        return;
    }
    EndOnClose();
    event->accept();
}

bool TMainForm::ProjectInUse() const {
    return Loading || TMessageNesting::Active();
}

void TMainForm::WaitForProject() {
    if (!CarryOutPending) {
        CarryOutPending = true;
        TMessageNesting::RunWhenNotNested(this, [this] { CarryOutWaitingRequests(); });
    }
}

void TMainForm::CarryOutWaitingRequests() {
    CarryOutPending = false;
    if (ProjectInUse()) {
        WaitForProject();
        return;
    }
    if (CloseRequested) {
        ForgetWaitingRequests(); // a load chosen before the close would be thrown away at once
        close();
    } else if (!WaitingLoad.isEmpty()) {
        LoadLogFile(std::exchange(WaitingLoad, QString()));
    }
}

void TMainForm::ForgetWaitingRequests() {
    CloseRequested = false;
    WaitingLoad.clear();
}

void TMainForm::EndOnClose() {
    Playback->StopAnimation();
    // Asked for while the pause played on: the window is closing now, and nothing is loaded.
    ForgetWaitingRequests();
    MessagePanel->setText(QString());
    DropProject();
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
        ProjectDataForm->ShowReport(LogLoaded ? LogFile.get() : nullptr);
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

void TMainForm::LoadLogFile(const QString& path) {
    if (ProjectInUse()) {
        WaitingLoad = path;
        WaitForProject();
        return;
    }
    BeginLoad(path);
    DropProject();
    LogFile = std::make_unique<TLogFile>("Level");
    LogLoaded = true;
    if (LogFile->Load(QFile::encodeName(path).toStdString(), *ProgressDialog)) {
        setWindowTitle(ProductName + ", " + path);
    }
    ProcessPendingMessages();
    ShowLoadedProject();
    EndLoad();
}

// Nothing may step or draw the project once it is gone.
void TMainForm::DropProject() {
    Replay.SetProject(nullptr);
    View->ClearProject();
    Evacuation->Drop();
    LogFile.reset();
    ShowEvacuationCommands();
}

void TMainForm::BeginLoad(const QString& path) {
    Loading = true;
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
    View->ShowProject(*LogFile);
    Replay.SetProject(LogFile.get());
    UpdateLightStatus();
    ShowReplayTexts();
    FillDeckChooser();
    ShowEvacuationCommands();
}

void TMainForm::EndLoad() {
    QGuiApplication::restoreOverrideCursor();
    ProgressDialog->Close();
    MessagePanel->setText(" ");
    EnableControls(true);
    ProcessPendingMessages();
    Loading = false; // a close or load asked for meanwhile is already waiting to be carried out
}

void TMainForm::FillDeckChooser() {
    DeckChooser->clear();
    for (std::int32_t n = LogFile->ZMax - 1; n >= 0; --n) {
        DeckChooser->addItem(FromFileText(LogFile->GetDeckCaption(n)));
    }
    DeckChooser->setCurrentIndex(DeckChooser->count() - 1);
}

QString TMainForm::LightsText(std::optional<std::int32_t> count) {
    return count ? "Lights: " + QString::number(*count) : QString("Lights:");
}

void TMainForm::UpdateLightStatus() {
    const std::int32_t count = View->GetLightCount();
    LightsPanel->setText(LightsText(count));
    Action(TCommand::AddLight)->setEnabled(count < DeckLightSlots);
    Action(TCommand::RemoveLight)->setEnabled(count > 0);
}

QString TMainForm::ShortenedForStatus(const QString& path) const {
    const QFontMetrics metrics(statusBar()->font());
    return metrics.elidedText(path, Qt::ElideMiddle, StatusPathWidth);
}
