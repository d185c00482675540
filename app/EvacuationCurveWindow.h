#pragma once
// The evacuation at a glance: the persons saved and the persons on each deck against the replay
// time, a marker at the time the replay stands at, and the times by which half, nine tenths and
// all of the persons have left; on a second page the flows at exits and stairs. Not modal: the
// replay runs while it is open, and a click on the plot moves the replay to that second. The
// exported picture is drawn at the size chosen beside the Export button, whatever the window's
// size, titled with the log's file name.

#include "EvacuationAnalysis.h"

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <functional>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TFlowsPanel;
class QValueAxis;

// An axis of seconds or persons that ends at a tidy tick: the step one, two or five times a power
// of ten (a whole one at least) that gives at most ten steps, and both ends on a step.
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

    // Shows the curve in place of the one shown. The file name of the log it comes from (without
    // its folder) titles the exported picture; none, no title.
    void SetCurve(const TEvacuationCurve& curve, const QString& logFile = QString());
    // Puts the marker at the replay time, in seconds.
    void ShowTime(double seconds);
    double MarkerTime() const;
    // The whole second of the replay (0 at its start) the user clicked on in the plot.
    std::function<void(std::int32_t)> OnSecondChosen;
    // The files Export... wrote; replacing: a file of one of their names was there before.
    std::function<void(const QStringList& files, bool replacing)> OnSaved;

    // Writes the curve as CSV to the file, and the picture of the plot as PNG beside it under the
    // same name ending in ".png", as large as PictureWidth and PictureHeight say. Empty on
    // success; otherwise why not.
    QString Export(const QString& csvFile);

    // The curve on the first page, the flows at exits and stairs on the second.
    QTabWidget* Pages = nullptr;
    TFlowsPanel* Flows = nullptr;
    QChartView* ChartView = nullptr;
    // The series' names and colours below the plot, wrapped where the window is narrow.
    QLabel* Legend = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* ExportButton = nullptr;
    // The exported picture's size in pixels, kept while the program runs.
    QSpinBox* PictureWidth = nullptr;
    QSpinBox* PictureHeight = nullptr;
    // The plot with its legend.
    QWidget* Plot = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ExportClick();
    // The plot drawn into that many pixels: the log's file name above it, the legend below.
    QImage Picture(QSize pixels) const;
    QString SummaryText() const;
    void ShowLegend();
    QString LegendHtml() const;
    void ChooseSecondAt(QPoint viewportPoint);

    TEvacuationCurve Curve;
    QString LogName;   // the file name of the curve's log, without its folder
    QString LogFolder; // where exports go unless the user chooses elsewhere
    QChart* Chart = nullptr;
    QLineSeries* SavedSeries = nullptr;
    QLineSeries* Marker = nullptr;
    QValueAxis* TimeAxis = nullptr;
    QValueAxis* PersonAxis = nullptr;
};
