#pragma once
// The main window: menus, tool bar, deck chooser, status bar and the 3D view; it owns the loaded
// project and drives loading, playback and the view commands.

#include "LogFile.h"
#include "Options.h"
#include "RecentFiles.h"
#include "Replay.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;
class TCellView3D;
class TFProgressDialog;
class TIntroForm;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows the main window opens; made by the start sequence after the main window.
    void SetWindows(TFProgressDialog* progress, TIntroForm* intro);

    void LoadLogFile(const QString& path);
    void EnableControls(bool enabled);
    void AddToRecentFiles(const QString& path);

    // Fields of the program, read by the commands and by tests.
    const QString ProductName;
    TRecentFiles RecentFiles;
    QString ScreenShotPath;
    bool FirstActivation = true;
    bool LogLoaded = false;
    bool SeriesActive = false;
    TReplay Replay;
    std::int32_t MaxAnimationSpeed = 5;
    TCellView3D* View = nullptr;
    std::unique_ptr<TLogFile1> LogFile;
    std::array<QAction*, TRecentFiles::MaxCount> RecentItems{};
    TOptions1 Options;
    QString PendingFileName;

    // Layout: named as the design names them so that commands and tests find them.
    QMenu* File1 = nullptr;
    QMenu* Views1 = nullptr;
    QMenu* Animation1 = nullptr;
    QMenu* Settings1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* LoadLogfile1 = nullptr;
    QAction* Singlescreenshot1 = nullptr;
    QAction* Screenshotseries1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Quit1 = nullptr;
    QAction* Deckup1 = nullptr;
    QAction* Deckdown1 = nullptr;
    QAction* Zoomin1 = nullptr;
    QAction* Zoomout1 = nullptr;
    QAction* Run1 = nullptr;
    QAction* ResettoStart1 = nullptr;
    QAction* Forward1 = nullptr;
    QAction* Backward1 = nullptr;
    QAction* ShowOrigin = nullptr;
    QAction* AddLight = nullptr;
    QAction* RemoveLight = nullptr;
    QAction* Options1 = nullptr;
    QAction* Statistics = nullptr;
    QAction* Help2 = nullptr;
    QAction* StartupWindow1 = nullptr;
    QWidget* Panel1 = nullptr;
    QToolButton* BitBtn1 = nullptr;
    QToolButton* BitBtn2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolButton* BitBtn_ResetToStart = nullptr;
    QToolButton* SpeedButton_PlayLoop = nullptr;
    QToolButton* BitBtn_StepBack = nullptr;
    QToolButton* BitBtn_StepFore = nullptr;
    QToolButton* BitBtn_ScreenShotSingle = nullptr;
    QToolButton* SpeedButton_ScreenShotSeries = nullptr;
    // The status bar, left to right.
    QLabel* LightsPanel = nullptr;  // "Lights: n", the lights of the deck shown
    QLabel* TimePanel = nullptr;    // the replay time
    QLabel* SavedPanel = nullptr;   // the persons who have left
    QLabel* MessagePanel = nullptr; // what runs: a load, the animation loop
    QTimer* AnimationTimer = nullptr;

    // True from the start of a load to its end; a close asked for meanwhile waits for it.
    bool IsLoading() const { return Loading; }
    // True while a load runs or a command that uses the project waits for message processing
    // (a step, a tick, a pause playing on, a message box): a close or a load asked for then
    // waits until it has finished.
    bool ProjectInUse() const;

    void StartAnimation();
    void StopAnimation();

public slots:
    void BitBtn1Click();
    void OpenRecent(int index);
    void StartupWindow1Click();
    void Quit1Click();
    void Run1Click();
    void ResettoStart1Click();
    void Forward1Click();
    void Backward1Click();
    void AnimationTimerTimer();
    void Deckup1Click();
    void Deckdown1Click();
    void ComboBox1Select();
    void Button1Click();
    void Button2Click();
    void ShowOriginClick();
    void AddLightClick();
    void RemoveLightClick();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void FormCreate();
    void FormActivate();
    void FormClose();
    void ShowIntro(int milliseconds);
    void CreateMenus();
    QMenu* CreateFileMenu();
    void CreateViewsAndAnimationMenus();
    void CreateSettingsAndHelpMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowRecentFiles();
    void DropProject();
    void BeginLoad(const QString& path);
    void ShowLoadedProject();
    void EndLoad();
    void FillDeckChooser();
    QString ShortenedForStatus(const QString& path) const;
    // "Lights: n"; only "Lights:" while no deck is shown.
    static QString LightsText(std::optional<std::int32_t> count);
    void UpdateLightStatus();
    void SelectChosenDeck();
    void ConnectPlayback();
    void ConnectReplay();
    void ShowReplayTexts();
    void Tick();
    void WaitForProject();
    void CarryOutWaitingRequests();
    void ForgetWaitingRequests();

    TFProgressDialog* FProgressDialog = nullptr;
    TIntroForm* IntroForm = nullptr;
    bool Loading = false;
    bool InTick = false;
    // A close and a load that wait for the project; of several loads, the last one chosen.
    bool CloseRequested = false;
    QString WaitingLoad;
    bool CarryOutPending = false;
};
