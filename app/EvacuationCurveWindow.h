#pragma once
// The evacuation at a glance: the persons saved and the persons on each deck against the replay
// time, a marker at the time the replay stands at, and the times by which half, nine tenths and
// all of the persons have left; on a second page the flows at exits and stairs. Not modal: the
// replay runs while it is open, and a click on the plot moves the replay to that second.

#include "EvacuationAnalysis.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QTabWidget;
class TFlowsPanel;
class QValueAxis;

// A time axis that ends at a tidy tick: the step one, two or five times a power of ten (a second at
// least) that gives at most ten steps, and both ends on a step.
struct TTidyAxis {
    double First = 0.0;
    double Last = 1.0;
    int TickCount = 2;
};
TTidyAxis TidyAxis(double first, double last);

// Where a window of that size opens beside its owner: right of it where the screen has room, else
// left of it, else over the owner's right half.
QRect PlaceBeside(const QRect& screen, const QRect& owner, const QSize& size);

class TEvacuationCurveWindow : public QDialog {
    Q_OBJECT

public:
    explicit TEvacuationCurveWindow(QWidget* parent);

    // Shows the curve in place of the one shown.
    void SetCurve(const TEvacuationCurve& curve);
    // Puts the marker at the replay time, in seconds.
    void ShowTime(double seconds);
    double MarkerTime() const;
    // The whole second of the replay (0 at its start) the user clicked on in the plot.
    std::function<void(std::int32_t)> OnSecondChosen;

    // Writes the curve as CSV to the file, and the plot as PNG beside it under the same name
    // ending in ".png". Empty on success; otherwise why not.
    QString Export(const QString& csvFile);

    // The curve on the first page, the flows at exits and stairs on the second.
    QTabWidget* Pages = nullptr;
    TFlowsPanel* Flows = nullptr;
    QChartView* ChartView = nullptr;
    // The series' names and colours below the plot, wrapped where the window is narrow.
    QLabel* Legend = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* ExportButton = nullptr;
    // The plot with its legend, as the exported picture shows it.
    QWidget* Plot = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ExportClick();
    QString SummaryText() const;
    void ShowLegend();
    void ChooseSecondAt(QPoint viewportPoint);

    TEvacuationCurve Curve;
    QChart* Chart = nullptr;
    QLineSeries* SavedSeries = nullptr;
    QLineSeries* Marker = nullptr;
    QValueAxis* TimeAxis = nullptr;
    QValueAxis* PersonAxis = nullptr;
};
