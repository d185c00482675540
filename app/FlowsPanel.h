#pragma once
// The flows at exits and stairs: a list of the places, each checkable, and a plot of the persons
// passing the checked ones each second of the replay, each checked place marked in its line's
// colour. The busiest three are checked at first. A line under the plot says how many persons
// leave by an exit and how many from no deck's grid.

#include "Flows.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QListWidget;
class QValueAxis;
class TLogFile;

class TFlowsPanel : public QWidget {
public:
    explicit TFlowsPanel(QWidget* parent = nullptr);

    // The places of the report in the list, in its order, and the plot of the busiest.
    void SetFlows(const TFlowReport& report, const TLogFile& project);

    QListWidget* Places = nullptr;
    QChartView* ChartView = nullptr;
    QLabel* Leaving = nullptr;

private:
    void Plot();
    void ShowColours(const std::vector<QColor>& colours);

    TFlowReport Report;
    QStringList Names; // of the places, as the legend gives them
    std::int32_t StepsPerSecond = 1;
    std::int32_t TimeOffset = 0;
    QChart* Chart = nullptr;
    QValueAxis* TimeAxis = nullptr;
    QValueAxis* PersonAxis = nullptr;
};
