#include "RunPlots.h"

#include "ChartPicture.h"
#include "EvacuationCurveWindow.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QFileInfo>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

QString RunSeconds(const TExactRatio& seconds) {
    QString text = QString::fromStdString(FixedText(seconds, 3));
    while (text.endsWith('0')) {
        text.chop(1);
    }
    if (text.endsWith('.')) {
        text.chop(1);
    }
    return text;
}

QString RunSeconds(std::int64_t milliseconds) {
    return RunSeconds(SecondsOfMilliseconds(milliseconds));
}

QString RunFileName(const TRunSummary& run) {
    return QFileInfo(QFile::decodeName(run.File.c_str())).fileName();
}

namespace {

void ClearChart(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QValueAxis* AddAxis(QChart& chart, const QString& title, Qt::Alignment side) {
    auto* axis = new QValueAxis(&chart);
    axis->setTitleText(title);
    axis->setLabelFormat("%g");
    chart.addAxis(axis, side);
    return axis;
}

void SetTimeRange(QValueAxis& axis, double first, double last) {
    const TTidyAxis tidy = TidyAxis(first, last);
    axis.setRange(tidy.First, tidy.Last);
    axis.setTickCount(tidy.TickCount);
}

QLineSeries* AddLine(QChart& chart, const QString& name, const QPen& pen) {
    auto* series = new QLineSeries(&chart);
    series->setName(name);
    series->setPen(pen);
    chart.addSeries(series);
    return series;
}

void AttachAxes(QChart& chart, QAbstractSeries& series) {
    for (QAbstractAxis* axis : chart.axes()) {
        series.attachAxis(axis);
    }
}

QLineSeries* AddCurve(QChart& chart, const TEvacuationCurve& curve, const QString& name,
                      const QPen& pen) {
    QLineSeries* series = AddLine(chart, name, pen);
    QList<QPointF> points;
    for (std::size_t row = 0; row < curve.Saved.size(); ++row) {
        points.append({double(curve.TimeOffset) + double(row), double(curve.Saved[row])});
    }
    series->replace(points);
    AttachAxes(chart, *series);
    return series;
}

std::vector<double> SortedAssemblyTimes(const std::vector<TRunSummary>& runs) {
    std::vector<double> times;
    for (const TRunSummary& run : runs) {
        if (run.Counts()) {
            times.push_back(static_cast<double>(run.Left.AllMs) / 1000.0);
        }
    }
    std::ranges::sort(times);
    return times;
}

} // namespace

void PlotRunCurves(QChart& chart, const std::vector<TRunSummary>& runs,
                   const std::optional<TRunsFigures>& figures) {
    ClearChart(chart);
    if (!figures) {
        return;
    }
    QValueAxis* time = AddAxis(chart, "Time (s)", Qt::AlignBottom);
    QValueAxis* persons = AddAxis(chart, "Persons saved", Qt::AlignLeft);
    const std::size_t ninetyFifth = figures->NinetyFifth.Run;
    const std::size_t longest = figures->Greatest.Run;
    double first = std::numeric_limits<double>::max();
    double last = 1.0;
    std::int32_t most = 1;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        if (!runs[k].Counts() || !runs[k].Curve) {
            continue;
        }
        const TEvacuationCurve& curve = *runs[k].Curve;
        first = std::min(first, double(curve.TimeOffset));
        last = std::max(last, double(curve.TimeOffset) + std::max(1, curve.RowCount() - 1));
        most = std::max(most, curve.PersonCount);
        if (k != ninetyFifth && k != longest) {
            LeaveOutOfLegend(chart, *AddCurve(chart, curve, RunFileName(runs[k]),
                                              QPen(QColor(150, 150, 150, 90), 1)));
        }
    }
    if (longest != ninetyFifth && runs[longest].Curve) {
        AddCurve(chart, *runs[longest].Curve, "Longest: " + RunFileName(runs[longest]),
                 QPen(QColor(31, 90, 200), 3));
    }
    if (runs[ninetyFifth].Curve) {
        AddCurve(chart, *runs[ninetyFifth].Curve,
                 (longest == ninetyFifth ? "95 % value and longest: " : "95 % value: ") +
                     RunFileName(runs[ninetyFifth]),
                 QPen(QColor(215, 40, 30), 3));
    }
    SetTimeRange(*time, first, last);
    persons->setRange(0, most);
    persons->applyNiceNumbers();
}

// The share of the runs that count done by each assembly time, as steps from one end of the time
// axis to the other, a dot for each run, and a line at the 95 % value.
void PlotAssemblyTimes(QChart& chart, const std::vector<TRunSummary>& runs,
                       const std::optional<TRunsFigures>& figures) {
    ClearChart(chart);
    if (!figures) {
        return;
    }
    QValueAxis* time = AddAxis(chart, "Everybody has left (s)", Qt::AlignBottom);
    QValueAxis* share = AddAxis(chart, "Runs done (%)", Qt::AlignLeft);
    const std::vector<double> times = SortedAssemblyTimes(runs);
    // Fewer ticks than on the curves' axis: this plot is the narrower one.
    time->setRange(std::floor(times.front()), std::max(std::ceil(times.back()), times.front() + 1));
    time->setTickCount(5);
    time->applyNiceNumbers();
    share->setRange(0, 100);
    share->setTickCount(6);
    const QColor ink(60, 60, 60);
    QLineSeries* steps = AddLine(chart, "Runs done", QPen(ink, 2));
    auto* dots = new QScatterSeries(&chart);
    dots->setColor(ink);
    dots->setMarkerSize(7);
    QList<QPointF> corners{{time->min(), 0.0}};
    for (std::size_t k = 0; k < times.size(); ++k) {
        const double done = 100.0 * double(k + 1) / double(times.size());
        corners.append({times[k], corners.back().y()});
        corners.append({times[k], done});
        dots->append(times[k], done);
    }
    corners.append({time->max(), 100.0});
    steps->replace(corners);
    chart.addSeries(dots);
    LeaveOutOfLegend(chart, *dots);
    const double ninetyFifth = static_cast<double>(figures->NinetyFifth.Milliseconds) / 1000.0;
    QLineSeries* line =
        AddLine(chart, "95 % value: " + RunSeconds(figures->NinetyFifth.Milliseconds) + " s",
                QPen(QColor(215, 40, 30), 2, Qt::DashLine));
    line->append(ninetyFifth, 0.0);
    line->append(ninetyFifth, 100.0);
    for (QAbstractSeries* series : chart.series()) {
        AttachAxes(chart, *series);
    }
    // Attaching may have fitted the axes to the series.
    time->setRange(corners.front().x(), corners.back().x());
    share->setRange(0, 100);
}

QChart* AddRunsChartView(QWidget& plots, QBoxLayout& layout, int stretch) {
    auto* chart = new QChart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart, &plots);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 260);
    layout.addWidget(view, stretch);
    return chart;
}
