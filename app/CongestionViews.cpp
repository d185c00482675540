#include "CongestionViews.h"

#include "CongestionReportWindow.h"
#include "DeckView.h"
#include "EvacuationAnalysis.h"
#include "EvacuationCurveWindow.h"
#include "LogFile.h"
#include "Options.h"
#include "UiServices.h"
#include "WorkBeside.h"

#include <QAction>
#include <QScreen>

#include <cmath>

TAnalysisSettings AnalysisSettingsOf(const TOptions& options) {
    return {options.CellSizeMm, options.DensityWindowMm, options.CongestionDensity,
            options.SignificantShare};
}

TCongestionViews::TCongestionViews(TProjectSource project, const TOptions& options,
                                   TShowRegion showRegion, TDeckView& view, QAction& outlineSwitch,
                                   QWidget& mainWindow)
    : QObject(&mainWindow), Project(std::move(project)), Options(options),
      ShowRegionInView(std::move(showRegion)), View(view), OutlineSwitch(outlineSwitch),
      MainWindow(mainWindow) {
    connect(&OutlineSwitch, &QAction::triggered, this, &TCongestionViews::SwitchOutlines);
}

TCongestionViews::~TCongestionViews() = default;

void TCongestionViews::ShowReport() {
    const TCongestionReport* report = Report();
    const TLogFile* project = Project();
    if (report == nullptr || project == nullptr) {
        return;
    }
    if (Window == nullptr) {
        Window = new TCongestionReportWindow(&MainWindow);
        Window->OnRegionChosen = [this](std::size_t region) { ShowRegion(region); };
        Window->OnExported = [this](const QString& file, bool replacing) {
            if (OnExported) {
                OnExported(file, replacing);
            }
        };
        Window->OnExportFailed = [this](const QString& file) {
            if (OnExportFailed) {
                OnExportFailed(file);
            }
        };
        // Beside the main window the first time, so that the view its rows move stays in
        // sight; where the user puts it after that.
        const QRect place = PlaceBeside(MainWindow.screen()->availableGeometry(),
                                        MainWindow.frameGeometry(), Window->size());
        Window->resize(place.size());
        Window->move(place.topLeft());
    }
    Window->ShowReport(*report, *project);
    Window->show();
    Window->raise();
}

void TCongestionViews::SwitchOutlines() {
    const TCongestionReport* report = OutlineSwitch.isChecked() ? Report() : nullptr;
    const TLogFile* project = Project();
    if (report == nullptr || project == nullptr) {
        OutlineSwitch.setChecked(false);
        Outlines = {};
    } else {
        Outlines = OutlinesOf(*report, project->XMax, project->YMax,
                              static_cast<std::int32_t>(project->Decks.size()));
    }
    ShowOutlines();
}

void TCongestionViews::ShowOutlines() {
    const TLogFile* project = Project();
    const bool chosen = Chosen && Measured != nullptr && project != nullptr;
    if (!chosen && !OutlineSwitch.isChecked()) {
        View.ShowRegionOutlines(nullptr);
        return;
    }
    Shown = chosen
                ? JoinedOutlines(Outlines,
                                 ChosenOutlineOf(*Measured, *Chosen, project->XMax, project->YMax,
                                                 static_cast<std::int32_t>(project->Decks.size())))
                : Outlines;
    View.ShowRegionOutlines(&Shown);
}

void TCongestionViews::FloorClicked(std::optional<std::array<double, 2>> point) {
    const TLogFile* project = Project();
    if (!Chosen || Measured == nullptr || project == nullptr) {
        return;
    }
    if (point) {
        // The cell under the point: cell x spans its centre less half a cell to its centre plus
        // half; rows grow toward -y.
        const auto x = static_cast<std::int32_t>(
            std::floor((*point)[0] - (double{CellCentreX(0, project->XMax)} - 0.5)));
        const auto y = static_cast<std::int32_t>(
            std::floor((double{CellCentreY(0, project->YMax)} + 0.5) - (*point)[1]));
        if (InAnyRegion(*Measured, View.DeckIndex(), x, y, project->XMax)) {
            return;
        }
    }
    Chosen.reset();
    ShowOutlines();
}

void TCongestionViews::Drop() {
    Measured.reset();
    Chosen.reset();
    OutlineSwitch.setChecked(false);
    View.ShowRegionOutlines(nullptr);
    if (Window != nullptr) {
        Window->close();
    }
}

void TCongestionViews::MeasuresChanged() {
    const bool shown = Window != nullptr && Window->isVisible();
    Measured.reset();
    Chosen.reset(); // the regions are measured anew
    ShowOutlines();
    if (shown) {
        ShowReport();
    }
    if (OutlineSwitch.isChecked()) {
        SwitchOutlines();
    }
}

// Measured beside the window; asked for again while it runs, there is none yet.
const TCongestionReport* TCongestionViews::Report() {
    const TLogFile* project = Project();
    if (project == nullptr || Measuring) {
        return nullptr;
    }
    if (Measured == nullptr) {
        if (const auto refusal = AnalysisRefusal(*project)) {
            ShowError(*refusal);
            return nullptr;
        }
        if (const auto refusal = CongestionRefusal(*project)) {
            ShowError(*refusal);
            return nullptr;
        }
    }
    const TAnalysisSettings settings = AnalysisSettingsOf(Options);
    return MeasureOnce(Measured, Measuring, Progress, "Measuring congestion...",
                       "Congestion could not be measured: ", [project, settings] {
                           return AnalyseCongestion(*project, settings);
                       });
}

void TCongestionViews::ShowRegion(std::size_t index) {
    const TLogFile* project = Project();
    if (Measured == nullptr || project == nullptr || index >= Measured->Regions.size()) {
        return;
    }
    Chosen = index;
    ShowOutlines();
    const TCongestionRegion& region = Measured->Regions[index];
    ShowRegionInView(region.Deck, region.PeakStep, CellCentreX(region.PeakX, project->XMax),
                     CellCentreY(region.PeakY, project->YMax));
}
