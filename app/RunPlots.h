#pragma once
// The plots and texts of many runs of one scenario, as the Compare runs window shows them: the
// persons saved against time of every run, and the share of the runs done by each assembly time.

#include "RunSummary.h"

#include <QString>

#include <optional>
#include <vector>

class QBoxLayout;
class QChart;
class QWidget;

// Seconds to the millisecond, rounded half up from their exact value, without trailing zeros:
// 61.25, 61.
QString RunSeconds(const TExactRatio& seconds);
QString RunSeconds(std::int64_t milliseconds);
// The run's file name without its folder.
QString RunFileName(const TRunSummary& run);

// The persons saved against time of every run that counts, all in faint grey but the run of the
// 95 % value and the longest one, drawn strong on top and alone named in the legend. Nothing
// without figures.
void PlotRunCurves(QChart& chart, const std::vector<TRunSummary>& runs,
                   const std::optional<TRunsFigures>& figures);
// The share of the runs that count done by each assembly time, with a line at the 95 % value.
void PlotAssemblyTimes(QChart& chart, const std::vector<TRunSummary>& runs,
                       const std::optional<TRunsFigures>& figures);
// A chart in a view of its own, added to the layout of the plots.
QChart* AddRunsChartView(QWidget& plots, QBoxLayout& layout, int stretch);
