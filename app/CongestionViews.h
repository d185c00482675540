#pragma once
// Congestion as the guidelines judge it, for the project shown: measured when first asked for,
// with the options' measures, shown in the Congestion report window and, while its switch is on,
// as outlines of the regions on the floor; a region chosen in the window is shown in the view, on
// its deck, at the step of its peak density, in the middle, and outlined, switch or not, until
// another is chosen or the floor is clicked where no region is. New measures or another project
// measure again when next asked for.

#include "Congestion.h"
#include "RegionOutlines.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QWidget;
class TDeckView;
class TCongestionReportWindow;
class TLogFile;
class TOptions;
class TProgressDialog;

class TCongestionViews : public QObject {
public:
    using TProjectSource = std::function<const TLogFile*()>;
    // Shows a region: its deck, the step, and the deck point to put in the middle of the view.
    using TShowRegion = std::function<void(std::int32_t deck, std::int32_t step, float x, float y)>;

    TCongestionViews(TProjectSource project, const TOptions& options, TShowRegion showRegion,
                     TDeckView& view, QAction& outlineSwitch, QWidget& mainWindow);
    ~TCongestionViews() override;

    void SetProgressDialog(TProgressDialog* dialog) { Progress = dialog; }

    void ShowReport();
    // The outlines on or off, as their switch says; off when nothing can be measured.
    void SwitchOutlines();
    // Another project: what was measured no longer holds, and the window closes.
    void Drop();
    // New measures: measured again, at once when the window shows.
    void MeasuresChanged();
    // A click into the view, at that point of the floor (none: above the horizon): away from
    // every region it lets go of the region chosen.
    void FloorClicked(std::optional<std::array<double, 2>> point);

    // Where an export of the report went, or that it failed.
    std::function<void(const QString& file, bool replacing)> OnExported;
    std::function<void(const QString& file)> OnExportFailed;

    TCongestionReportWindow* ReportWindow() const { return Window; }

private:
    const TCongestionReport* Report();
    void ShowRegion(std::size_t index);
    // The outlines of the switch, if on, and of the region chosen, to the view.
    void ShowOutlines();

    TProjectSource Project;
    const TOptions& Options;
    TShowRegion ShowRegionInView;
    TDeckView& View;
    QAction& OutlineSwitch;
    QWidget& MainWindow;
    TProgressDialog* Progress = nullptr;
    TCongestionReportWindow* Window = nullptr; // made at the first showing
    std::unique_ptr<TCongestionReport> Measured;
    TRegionOutlines Outlines;          // of what was measured, while the switch is on
    std::optional<std::size_t> Chosen; // the region chosen in the window, outlined
    TRegionOutlines Shown;             // those outlines and the chosen one's, as drawn
    bool Measuring = false;
};

// The options' measures as the analyses take them.
TAnalysisSettings AnalysisSettingsOf(const TOptions& options);
