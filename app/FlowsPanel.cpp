#include "FlowsPanel.h"

#include "EvacuationCurveWindow.h"
#include "FlowTexts.h"
#include "LogFile.h"

#include <QChart>
#include <QChartView>
#include <QIcon>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <numeric>

namespace {

constexpr int CheckedAtFirst = 3;

} // namespace

TFlowsPanel::TFlowsPanel(QWidget* parent) : QWidget(parent) {
    Chart = new QChart();
    TimeAxis = new QValueAxis(Chart);
    TimeAxis->setTitleText("Time (s)");
    TimeAxis->setLabelFormat("%d");
    PersonAxis = new QValueAxis(Chart);
    PersonAxis->setTitleText("Persons a second");
    PersonAxis->setLabelFormat("%d");
    Chart->legend()->hide(); // the list of places below says which line is which
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
    Names.clear();
    for (const TFlowPlace& place : report.Places) {
        Names.push_back(FlowPlaceName(place, project));
    }
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
        item->setToolTip(FlowToolTipText(report.Places[i], project));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(std::ranges::count(busiest, i) > 0 ? Qt::Checked : Qt::Unchecked);
    }
    Plot();
}

// A line a checked place: its persons each whole second, none in the seconds between.
void TFlowsPanel::Plot() {
    Chart->removeAllSeries();
    std::vector<QColor> colours(static_cast<std::size_t>(Places->count()));
    std::int64_t most = 1;
    std::int64_t last = 1;
    for (int row = 0; row < Places->count(); ++row) {
        if (Places->item(row)->checkState() != Qt::Checked) {
            continue;
        }
        const TFlowPlace& place = Report.Places[static_cast<std::size_t>(row)];
        auto* series = new QLineSeries(Chart);
        series->setName(Names[row]); // the line named as the list names its place
        std::int64_t next = 0;       // the first second not yet drawn
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
        colours[static_cast<std::size_t>(row)] = series->color();
    }
    ShowColours(colours);
    const TTidyAxis time = TidyAxis(TimeOffset, double(last + TimeOffset));
    TimeAxis->setRange(time.First, time.Last);
    TimeAxis->setTickCount(time.TickCount);
    // Whole persons at round steps, so that a tick reads as the count it stands at.
    const TTidyAxis persons = TidyAxis(0, double(most));
    PersonAxis->setRange(persons.First, persons.Last);
    PersonAxis->setTickCount(persons.TickCount);
}

// The list is the plot's legend: a square in its line's colour before each checked place. The
// chart's own legend would cut the names of the places short.
void TFlowsPanel::ShowColours(const std::vector<QColor>& colours) {
    const QSignalBlocker quiet(Places);
    const int side = Places->fontMetrics().height();
    for (int row = 0; row < Places->count(); ++row) {
        const QColor& colour = colours[static_cast<std::size_t>(row)];
        QPixmap square(side, side);
        square.fill(colour.isValid() ? colour : Qt::transparent);
        Places->item(row)->setIcon(QIcon(square));
    }
}
