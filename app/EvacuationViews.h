#pragma once
// The evacuation at a glance: the evacuation curve window and the congestion map, both from one
// analysis of the project's move lists, made when first asked for, and the flows at exits and
// stairs on the curve window's second page, measured as it opens. The map shows the standing up
// to the replay's time, growing as it plays, or, as its second switch says, the whole replay's.

#include "EvacuationAnalysis.h"
#include "Flows.h"
#include "ProgramSettings.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QWidget;
class TDeckView;
class TEvacuationCurveWindow;
class TLogFile;
class TProgressDialog;
class TReplay;

class TEvacuationViews : public QObject {
    Q_OBJECT

public:
    // The project, or none while none is loaded or one loads.
    using TProjectSource = std::function<const TLogFile*()>;

    // The map switch and the switch that hides persons on the map are checkable menu entries;
    // the curve window opens beside the main window and takes the replay's keys with it.
    TEvacuationViews(TProjectSource project, const TReplay& replay, TDeckView& view,
                     QAction& mapSwitch, QAction& hidePersonsSwitch, QAction& labelSwitch,
                     QWidget& mainWindow);

    // The switch between the map up to the replay's time and the whole replay's.
    void SetWholeMapSwitch(QAction& wholeSwitch);

    // Whether persons are hidden on the map and whether it shows the whole replay, from the
    // settings store and back.
    void ReadSettings(TProgramSettings& settings);
    [[nodiscard]] bool WriteSettings(TProgramSettings& settings) const;

    // Shown while an analysis takes long; none, then nothing shows.
    void SetProgressDialog(TProgressDialog* dialog) { Progress = dialog; }
    // A second clicked on the curve, for the replay to go to.
    std::function<void(std::int32_t second)> OnSecondChosen;
    // The measures the flows are taken with (the width of a place in metres).
    std::function<TAnalysisSettings()> Measures;
    // The files the curve window exported; replacing: a file of one of their names was there.
    std::function<void(const QStringList& files, bool replacing)> OnExported;
    // The replay's keys that also work while the curve window has the focus.
    QList<QAction*> ReplayKeys;

    void ShowEvacuationCurve();
    // The map on or off, as its switch says.
    void SwitchCongestionMap();
    // The map up to the replay's time, after a step or a jump.
    void ShowMapStep();
    // Persons hidden on the map or shown, as its switch says.
    void SwitchPersonsOnMap();
    // The persons that passed each exit and stair written on the floor where it is, or not, as
    // the switch says.
    void SwitchFlowLabels();
    // The marker of the curve where the replay stands.
    void ShowCurveTime();
    // Another project has another curve and map: the window closes, the map goes off.
    void Drop();
    // New measures: the flows shown are measured again.
    void MeasuresChanged();

    TEvacuationCurveWindow* CurveWindow() const { return Curve; }

private:
    // The project's evacuation curve and congestion map, made at the first call; none without a
    // project, or while it is being made. With the map's stands in step order, for the map up to
    // now: made once more when the first analysis left them out, the curve window having been
    // asked for first.
    const TEvacuationAnalysis* Analysis(TStandingChanges changes = TStandingChanges::Left);
    // The flows with the measures of the moment, measured again after Drop or new measures.
    const TFlowReport* FlowsMeasured();
    void ShowFlows();

    TProjectSource Project;
    const TReplay& Replay;
    TDeckView& View;
    QAction& MapSwitch;
    QAction& HidePersonsSwitch;
    QAction& LabelSwitch;
    QAction* WholeMapSwitch = nullptr;
    bool HidePersonsAsRead = Settings::HidePersonsOnMap.Default;
    bool WholeMapAsRead = Settings::CongestionMapWholeReplay.Default;
    QWidget& MainWindow;
    TProgressDialog* Progress = nullptr;
    TEvacuationCurveWindow* Curve = nullptr; // made at the first showing
    std::unique_ptr<TEvacuationAnalysis> EvacuationAnalysis;
    std::unique_ptr<TEvacuationAnalysis> AnalysisWithStands; // when the first left them out
    std::unique_ptr<TCongestionMapNow> MapNow; // of the analysis, while the map is up to now
    std::unique_ptr<TFlowReport> Flows;
    bool Analysing = false;
};
