#include "EvacuationViews.h"

#include "DeckView.h"
#include "EvacuationCurveWindow.h"
#include "FlowTexts.h"
#include "FlowsPanel.h"
#include "LogFile.h"
#include "MessageNesting.h"
#include "ProgressDialog.h"
#include "Replay.h"
#include "UiServices.h"
#include "WorkBeside.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>

namespace {

TFloorLabel FlowLabel(const TFlowPlace& place, const TLogFile& project) {
    // Cell centres lie half a cell inside the cells' outer edges.
    const float left = CellCentreX(place.X0, project.XMax) - 0.5f;
    const float right = CellCentreX(place.X1, project.XMax) + 0.5f;
    const float top = CellCentreY(place.Y0, project.YMax) + 0.5f;
    const float bottom = CellCentreY(place.Y1, project.YMax) - 0.5f;
    return {place.Deck,
            (left + right) / 2.0f,
            (top + bottom) / 2.0f,
            FlowLabelText(place),
            QRectF(QPointF(left, bottom), QPointF(right, top)),
            FlowToolTipText(place, project)};
}

} // namespace

TEvacuationViews::TEvacuationViews(TProjectSource project, const TReplay& replay, TDeckView& view,
                                   QAction& mapSwitch, QAction& hidePersonsSwitch,
                                   QAction& labelSwitch, QWidget& mainWindow)
    : QObject(&mainWindow), Project(std::move(project)), Replay(replay), View(view),
      MapSwitch(mapSwitch), HidePersonsSwitch(hidePersonsSwitch), LabelSwitch(labelSwitch),
      MainWindow(mainWindow) {
    connect(&HidePersonsSwitch, &QAction::triggered, this, &TEvacuationViews::SwitchPersonsOnMap);
    connect(&LabelSwitch, &QAction::triggered, this, &TEvacuationViews::SwitchFlowLabels);
}

void TEvacuationViews::SetWholeMapSwitch(QAction& wholeSwitch) {
    WholeMapSwitch = &wholeSwitch;
    connect(WholeMapSwitch, &QAction::triggered, this, &TEvacuationViews::SwitchCongestionMap);
}

void TEvacuationViews::ReadSettings(TProgramSettings& settings) {
    HidePersonsAsRead = settings.Read(Settings::HidePersonsOnMap);
    HidePersonsSwitch.setChecked(HidePersonsAsRead);
    SwitchPersonsOnMap();
    WholeMapAsRead = settings.Read(Settings::CongestionMapWholeReplay);
    if (WholeMapSwitch != nullptr) {
        WholeMapSwitch->setChecked(WholeMapAsRead);
    }
}

bool TEvacuationViews::WriteSettings(TProgramSettings& settings) const {
    const bool whole = WholeMapSwitch != nullptr ? WholeMapSwitch->isChecked() : WholeMapAsRead;
    // Both are written even when the first fails.
    const bool hide = settings.WriteIfChanged(Settings::HidePersonsOnMap,
                                              HidePersonsSwitch.isChecked(), HidePersonsAsRead);
    return settings.WriteIfChanged(Settings::CongestionMapWholeReplay, whole, WholeMapAsRead) &&
           hide;
}

void TEvacuationViews::SwitchPersonsOnMap() {
    View.HidePersonsOnMap(HidePersonsSwitch.isChecked());
}

// The analysis runs beside the window (see MeasureOnce).
const TEvacuationAnalysis* TEvacuationViews::Analysis(TStandingChanges changes) {
    const TLogFile* project = Project();
    if (project == nullptr) {
        return nullptr;
    }
    const bool standsWanted = changes == TStandingChanges::Kept;
    if (standsWanted && EvacuationAnalysis != nullptr && !EvacuationAnalysis->Map.ChangesKept) {
        return MeasureOnce(AnalysisWithStands, Analysing, Progress,
                           "Computing the congestion map...",
                           "The congestion map could not be made: ", [project] {
                               return AnalyseEvacuation(*project, TStandingChanges::Kept);
                           });
    }
    if (EvacuationAnalysis == nullptr && !Analysing) {
        if (const auto refusal = AnalysisRefusal(*project)) {
            ShowError(*refusal);
            return nullptr;
        }
    }
    return MeasureOnce(EvacuationAnalysis, Analysing, Progress, "Computing the evacuation curve...",
                       "The evacuation curve could not be made: ", [project, changes] {
                           return AnalyseEvacuation(*project, changes);
                       });
}

void TEvacuationViews::ShowEvacuationCurve() {
    const TEvacuationAnalysis* analysis = Analysis();
    if (analysis == nullptr) {
        return;
    }
    if (Curve == nullptr) {
        Curve = new TEvacuationCurveWindow(&MainWindow);
        Curve->OnSecondChosen = [this](std::int32_t second) {
            if (OnSecondChosen) {
                OnSecondChosen(second);
            }
        };
        Curve->OnSaved = [this](const QStringList& files, bool replacing) {
            if (OnExported) {
                OnExported(files, replacing);
            }
        };
        // The replay's keys work while the curve has the focus, as the user watches it.
        Curve->addActions(ReplayKeys);
        Curve->addAction(&MapSwitch);
        // Beside the main window the first time; where the user puts it after that.
        const QRect place = PlaceBeside(MainWindow.screen()->availableGeometry(),
                                        MainWindow.frameGeometry(), Curve->size());
        Curve->resize(place.size());
        Curve->move(place.topLeft());
    }
    Curve->SetCurve(analysis->Curve, QFile::decodeName(Project()->FileName.c_str()));
    ShowFlows();
    Curve->show();
    Curve->raise();
    ShowCurveTime(); // once shown: a hidden window is not kept up to date
}

void TEvacuationViews::SwitchCongestionMap() {
    const bool whole = WholeMapSwitch != nullptr && WholeMapSwitch->isChecked();
    const TEvacuationAnalysis* analysis =
        MapSwitch.isChecked()
            ? Analysis(whole || MapNow != nullptr ? TStandingChanges::Left : TStandingChanges::Kept)
            : nullptr;
    MapSwitch.setChecked(analysis != nullptr);
    if (analysis == nullptr || whole) {
        View.ShowCongestionMap(analysis != nullptr ? &analysis->Map : nullptr);
        return;
    }
    if (MapNow == nullptr) {
        MapNow = std::make_unique<TCongestionMapNow>(analysis->Map);
    }
    ShowMapStep();
}

// Only while the map up to now shows: the counts stay where they were otherwise, and catch up
// when it shows again.
void TEvacuationViews::ShowMapStep() {
    if (MapNow == nullptr || !MapSwitch.isChecked() ||
        (WholeMapSwitch != nullptr && WholeMapSwitch->isChecked())) {
        return;
    }
    MapNow->MoveTo(Replay.TimeStep(), Replay.TimeSeconds());
    View.ShowCongestionMap(&MapNow->Map());
}

// The replay time, as the status bar counts it, between whole seconds too.
void TEvacuationViews::ShowCurveTime() {
    const TLogFile* project = Project();
    if (Curve != nullptr && Curve->isVisible() && project != nullptr) {
        const double perSecond = project->VMax > 0 ? double(project->VMax) : 1.0;
        Curve->ShowTime(double(Replay.TimeStep()) / perSecond + project->TOff);
    }
}

// Flows take a fraction of the load's time; measured beside the window all the same.
const TFlowReport* TEvacuationViews::FlowsMeasured() {
    const TLogFile* project = Project();
    if (project == nullptr) {
        return nullptr;
    }
    const TAnalysisSettings settings = Measures ? Measures() : TAnalysisSettings();
    return MeasureOnce(Flows, Analysing, Progress, "Counting the flows...",
                       "The flows could not be counted: ", [project, settings] {
                           return AnalyseFlows(*project, settings);
                       });
}

void TEvacuationViews::ShowFlows() {
    const TFlowReport* flows = FlowsMeasured();
    const TLogFile* project = Project();
    if (Curve != nullptr && flows != nullptr && project != nullptr) {
        Curve->Flows->SetFlows(*flows, *project);
    }
}

// "Exit: 105 persons, at most 5/s" at the middle of each place's cells, the busiest placed first
// where labels would cover each other; the place's cells give the floor of its tool tip.
void TEvacuationViews::SwitchFlowLabels() {
    const TFlowReport* flows = LabelSwitch.isChecked() ? FlowsMeasured() : nullptr;
    const TLogFile* project = Project();
    LabelSwitch.setChecked(flows != nullptr && project != nullptr);
    std::vector<TFloorLabel> labels;
    if (LabelSwitch.isChecked()) {
        std::vector<const TFlowPlace*> busiestFirst;
        for (const TFlowPlace& place : flows->Places) {
            busiestFirst.push_back(&place);
        }
        std::ranges::stable_sort(busiestFirst, std::greater<>(),
                                 [](const TFlowPlace* place) { return place->Total; });
        for (const TFlowPlace* place : busiestFirst) {
            labels.push_back(FlowLabel(*place, *project));
        }
    }
    View.ShowFloorLabels(std::move(labels));
}

void TEvacuationViews::MeasuresChanged() {
    Flows.reset();
    if (Curve != nullptr && Curve->isVisible()) {
        ShowFlows();
    }
    if (LabelSwitch.isChecked()) {
        SwitchFlowLabels();
    }
}

void TEvacuationViews::Drop() {
    if (Curve != nullptr) {
        Curve->close();
    }
    MapSwitch.setChecked(false);
    View.ShowCongestionMap(nullptr);
    MapNow.reset();
    EvacuationAnalysis.reset();
    AnalysisWithStands.reset();
    Flows.reset();
    LabelSwitch.setChecked(false);
    View.ShowFloorLabels({});
}
