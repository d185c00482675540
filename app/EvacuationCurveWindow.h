#pragma once
// The evacuation at a glance: the persons saved and the persons on each deck against the replay
// time, a marker at the time the replay stands at, and the times by which half, nine tenths and
// all of the persons have left. Not modal: the replay runs while it is open, and a click on the
// plot moves the replay to that second.

#include "EvacuationAnalysis.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

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

    QChartView* ChartView = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* ExportButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ExportClick();
    QString SummaryText() const;
    void ChooseSecondAt(QPoint viewportPoint);

    TEvacuationCurve Curve;
    QChart* Chart = nullptr;
    QLineSeries* SavedSeries = nullptr;
    QLineSeries* Marker = nullptr;
    QValueAxis* TimeAxis = nullptr;
    QValueAxis* PersonAxis = nullptr;
};
