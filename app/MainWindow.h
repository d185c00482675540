#pragma once
// The main window: the layout of the 3D view, the tool bar and the status bar, what it shows while
// a file loads, its close and its settings. Its parts do the rest, each wired in
// MainWindowLayout.cpp: the project and its loading (TProjectController), playback
// (TPlaybackController), the deck, zoom and light commands (TViewCommands), screen shots
// (TScreenShotTaker), the evacuation views (TEvacuationViews), the congestion report
// (TCongestionViews), what is drawn over the persons
// (TPersonOverlays), the person the user picked (TPersonSelection), the comparison of many runs
// (TCompareRunsWindow), the menus made from the command table (TCommandActions) and the windows it
// opens (TInfoWindows). No part knows the main window.

#include "CommandActions.h"
#include "CongestionViews.h"
#include "EvacuationViews.h"
#include "InfoWindows.h"
#include "PacedAction.h"
#include "PersonOverlays.h"
#include "PersonSelection.h"
#include "PlaybackController.h"
#include "ProjectController.h"
#include "RecentFilesMenu.h"
#include "ScaleBarSwitch.h"
#include "ScreenShotTaker.h"
#include "StatusPanels.h"
#include "ToolBar.h"
#include "ViewCommands.h"

#include <QMainWindow>
#include <memory>

class TCompareRunsWindow;
class TVideoExportWindow;
class TDeckView;
class TProgressDialog;
class TStartupWindow;
class TOptionsWindow;
class TProjectDataWindow;
class TQuickReferenceWindow;

class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // The windows the main window opens; made by the start sequence after the main window.
    // A window left out is not opened (tests leave out what they do not look at).
    struct TWindows {
        TProgressDialog* Progress = nullptr;
        TStartupWindow* Intro = nullptr;
        TOptionsWindow* Options = nullptr;
        TProjectDataWindow* ProjectData = nullptr;
        TQuickReferenceWindow* Help = nullptr;
    };
    void SetWindows(const TWindows& windows);
    // The log file named on the command line, loaded at the first activation.
    // A relative path is taken from the current folder and kept as a full path.
    void SetPendingFileName(const QString& path);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Tests and benchmarks look inside through this one class.
    friend class TMainWindowProbe;

    void BuildWindow();
    void StartOnFirstActivation();
    void EndOnClose();
    QString WriteSettings() const;
    void ConnectControls();
    void EnableControls(bool enabled);
    void ConnectPlayback();
    void ConnectProject();
    void StartLoad(const QString& path);
    void EndLoad();
    void ConnectScreenShots();
    void ShowReplayTexts();
    void ConnectEvacuation();
    void ConnectViewCommands();
    void ConnectSelection();
    void ConnectCompareRuns();
    void ConnectVideoExport();
    void ExportVideo();

    bool FirstActivation = true;
    TDeckView* View = nullptr;
    QString PendingFileName;

    TCommandActions Commands{*this};
    TScreenShotTaker* Shots = nullptr;
    TEvacuationViews* Evacuation = nullptr;
    TCongestionViews* Congestion = nullptr;
    TPlaybackController* Playback = nullptr;
    // The texts of the replay's place, at most ten times a second while playing.
    TPacedAction* ReplayTexts = nullptr;
    TProjectController* Projects = nullptr;
    TViewCommands* ViewCommands = nullptr;
    TPersonOverlays* Overlays = nullptr;
    TScaleBarSwitch* ScaleBar = nullptr;
    TPersonSelection* Selection = nullptr;
    TCompareRunsWindow* CompareRuns = nullptr; // made at its first use
    TVideoExportWindow* VideoExport = nullptr; // made at its first use

    TRecentFilesMenu* RecentMenu = nullptr;
    TToolBar* Tools = nullptr;
    std::unique_ptr<TStatusPanels> Status;
    TProgressDialog* Progress = nullptr;
    TInfoWindows Info{nullptr, nullptr, nullptr};
};
