#include "FlowsPanel.h"

#include "DeckCaptionText.h"
#include "EvacuationCurveWindow.h"
#include "LogFile.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <numeric>

namespace {

constexpr int CheckedAtFirst = 3;

} // namespace

QString FlowPlaceText(const TFlowPlace& place, const TLogFile& project) {
    return QStringLiteral("%1 on %2, cells %3, %4 to %5, %6: %7 persons, at most %8 a second")
        .arg(place.Kind == TFlowKind::Exit ? QStringLiteral("Exit") : QStringLiteral("Stair"))
        .arg(DeckCaptionText(project, place.Deck))
        .arg(place.X0)
        .arg(place.Y0)
        .arg(place.X1)
        .arg(place.Y1)
        .arg(place.Total)
        .arg(place.PeakPerSecond);
}

TFlowsPanel::TFlowsPanel(QWidget* parent) : QWidget(parent) {
    Chart = new QChart();
    TimeAxis = new QValueAxis(Chart);
    TimeAxis->setTitleText("Time (s)");
    TimeAxis->setLabelFormat("%d");
    PersonAxis = new QValueAxis(Chart);
    PersonAxis->setTitleText("Persons a second");
    PersonAxis->setLabelFormat("%d");
    Chart->addAxis(TimeAxis, Qt::AlignBottom);
    Chart->addAxis(PersonAxis, Qt::AlignLeft);
    ChartView = new QChartView(Chart, this);
    ChartView->setRenderHint(QPainter::Antialiasing);
    Places = new QListWidget(this);
    connect(Places, &QListWidget::itemChanged, this, [this] { Plot(); });
    Leaving = new QLabel(this);
    Leaving->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ChartView, 3);
    layout->addWidget(Leaving);
    layout->addWidget(Places, 1);
}

void TFlowsPanel::SetFlows(const TFlowReport& report, const TLogFile& project) {
    Report = report;
    StepsPerSecond = std::max(project.VMax, 1);
    TimeOffset = project.TOff;
    std::vector<std::size_t> busiest(report.Places.size());
    std::iota(busiest.begin(), busiest.end(), std::size_t{0});
    std::ranges::stable_sort(busiest, std::greater<>(),
                             [&](std::size_t i) { return report.Places[i].Total; });
    busiest.resize(std::min<std::size_t>(busiest.size(), CheckedAtFirst));
    Leaving->setText(QString::fromStdString(LeavingText(report)) + ".");
    const QSignalBlocker quiet(Places);
    Places->clear();
    for (std::size_t i = 0; i < report.Places.size(); ++i) {
        auto* item = new QListWidgetItem(FlowPlaceText(report.Places[i], project), Places);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(std::ranges::count(busiest, i) > 0 ? Qt::Checked : Qt::Unchecked);
    }
    Plot();
}

// A line a checked place: its persons each whole second, none in the seconds between.
void TFlowsPanel::Plot() {
    Chart->removeAllSeries();
    std::int64_t most = 1;
    std::int64_t last = 1;
    for (int row = 0; row < Places->count(); ++row) {
        if (Places->item(row)->checkState() != Qt::Checked) {
            continue;
        }
        const TFlowPlace& place = Report.Places[static_cast<std::size_t>(row)];
        auto* series = new QLineSeries(Chart);
        series->setName(QStringLiteral("%1 at %2, %3, deck %4")
                            .arg(place.Kind == TFlowKind::Exit ? "Exit" : "Stair")
                            .arg(place.X0)
                            .arg(place.Y0)
                            .arg(place.Deck));
        std::int64_t next = 0; // the first second not yet drawn
        for (const TSecondCount& second : place.PerSecond) {
            if (second.Second > next) {
                series->append(double(next + TimeOffset), 0.0);
                series->append(double(second.Second - 1 + TimeOffset), 0.0);
            }
            series->append(double(second.Second + TimeOffset), double(second.Persons));
            next = second.Second + 1;
            most = std::max(most, second.Persons);
        }
        series->append(double(next + TimeOffset), 0.0);
        last = std::max(last, next);
        Chart->addSeries(series);
        series->attachAxis(TimeAxis);
        series->attachAxis(PersonAxis);
    }
    const TTidyAxis time = TidyAxis(TimeOffset, double(last + TimeOffset));
    TimeAxis->setRange(time.First, time.Last);
    TimeAxis->setTickCount(time.TickCount);
    PersonAxis->setRange(0, double(most));
}
