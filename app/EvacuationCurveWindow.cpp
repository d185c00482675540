#include "EvacuationCurveWindow.h"

#include "ChartPicture.h"
#include "FlowsPanel.h"

#include "JpegWriter.h"
#include "Replay.h"
#include "UiServices.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Replay time to the millisecond as "m:ss.mmm min": the time step's time, as the command line
// prints it in seconds (147.250 s is 2:27.250 min), in the minutes the window shows elsewhere.
QString ClockToTheMillisecond(std::int64_t milliseconds) {
    const std::int64_t magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    return QStringLiteral("%1%2:%3.%4 min")
        .arg(milliseconds < 0 ? "-" : "")
        .arg(magnitude / 60'000)
        .arg(magnitude / 1000 % 60, 2, 10, QChar('0'))
        .arg(magnitude % 1000, 3, 10, QChar('0'));
}

QString PngBeside(const QString& csvFile) {
    const QFileInfo csv(csvFile);
    return csv.dir().filePath(csv.completeBaseName() + ".png");
}

} // namespace

TTidyAxis TidyAxis(double first, double last) {
    constexpr int MostSteps = 10;
    const double span = std::max(last - first, 1.0);
    // Whole seconds at least: the curve has a value a second.
    double step = std::max(1.0, std::pow(10.0, std::floor(std::log10(span / MostSteps))));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (span / (step * factor) <= MostSteps) {
            step *= factor;
            break;
        }
    }
    const double start = std::floor(first / step) * step;
    const double end = std::max(std::ceil(last / step) * step, start + step);
    return {start, end, static_cast<int>(std::lround((end - start) / step)) + 1};
}

QRect PlaceBeside(const QRect& screen, const QRect& owner, const QSize& size) {
    const int top = std::clamp(owner.top(), screen.top(), screen.bottom() + 1 - size.height());
    if (screen.right() - owner.right() >= size.width()) {
        return {QPoint(owner.right() + 1, top), size};
    }
    if (owner.left() - screen.left() >= size.width()) {
        return {QPoint(owner.left() - size.width(), top), size};
    }
    // Over the owner's right half, narrower where the half is narrower, so that the middle of
    // the owner stays in sight.
    const int middle = owner.center().x() + 1;
    const int right = std::min(owner.right(), screen.right());
    const int left = std::max(middle, right + 1 - size.width());
    return {QPoint(left, top), QSize(right + 1 - left, size.height())};
}

TEvacuationCurveWindow::TEvacuationCurveWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Evacuation curve");
    setModal(false);
    resize(720, 480);
    Chart = new QChart();
    Chart->legend()->hide(); // the chart's own legend cuts long names rather than wrap them
    TimeAxis = new QValueAxis(Chart);
    TimeAxis->setTitleText("Time (s)");
    TimeAxis->setLabelFormat("%d");
    PersonAxis = new QValueAxis(Chart);
    PersonAxis->setTitleText("Persons");
    PersonAxis->setLabelFormat("%d");
    Chart->addAxis(TimeAxis, Qt::AlignBottom);
    Chart->addAxis(PersonAxis, Qt::AlignLeft);
    Plot = new QWidget(this);
    Plot->setAutoFillBackground(true);
    Plot->setPalette(QPalette(Qt::white));
    ChartView = new QChartView(Chart, Plot);
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->viewport()->installEventFilter(this);
    Legend = new QLabel(Plot);
    Legend->setWordWrap(true);
    Legend->setAlignment(Qt::AlignHCenter);
    auto* plotLayout = new QVBoxLayout(Plot);
    plotLayout->setContentsMargins(0, 0, 0, 6);
    plotLayout->addWidget(ChartView, 1);
    plotLayout->addWidget(Legend);
    Summary = new QLabel(this);
    Summary->setWordWrap(true);
    ExportButton = new QPushButton("Export...", this);
    connect(ExportButton, &QPushButton::clicked, this, &TEvacuationCurveWindow::ExportClick);
    // The picture's size beside the button that writes it: "Picture 1600 x 1000 px".
    auto* pictureSize = new TPictureSizeFields(this);
    PictureWidth = pictureSize->Width;
    PictureHeight = pictureSize->Height;
    auto* exportRow = new QHBoxLayout();
    exportRow->addStretch(1);
    exportRow->addWidget(pictureSize);
    exportRow->addSpacing(12);
    exportRow->addWidget(ExportButton);
    auto* curvePage = new QWidget(this);
    auto* curveLayout = new QVBoxLayout(curvePage);
    curveLayout->addWidget(Plot, 1);
    curveLayout->addWidget(Summary);
    curveLayout->addLayout(exportRow);
    Flows = new TFlowsPanel(this);
    Pages = new QTabWidget(this);
    Pages->addTab(curvePage, QStringLiteral("Evacuation"));
    Pages->addTab(Flows, QStringLiteral("Flows"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Pages);
}

void TEvacuationCurveWindow::SetCurve(const TEvacuationCurve& curve, const QString& logFile) {
    Curve = curve;
    LogName = QFileInfo(logFile).fileName();
    LogFolder = logFile.isEmpty() ? QString() : QFileInfo(logFile).absolutePath();
    Chart->removeAllSeries();
    const auto addSeries = [this](const QString& name, const std::vector<std::int32_t>& values) {
        auto* series = new QLineSeries(Chart);
        series->setName(name);
        for (std::size_t row = 0; row < values.size(); ++row) {
            series->append(double(Curve.TimeOffset) + double(row), values[row]);
        }
        Chart->addSeries(series);
        series->attachAxis(TimeAxis);
        series->attachAxis(PersonAxis);
        return series;
    };
    SavedSeries = addSeries("Saved", Curve.Saved);
    for (std::size_t d = 0; d < Curve.OnDeck.size(); ++d) {
        addSeries(QString::fromStdString(Curve.DeckCaptions[d]), Curve.OnDeck[d]);
    }
    Marker = addSeries("", {});
    Marker->setColor(Qt::black);
    const double first = Curve.TimeOffset;
    const TTidyAxis time = TidyAxis(first, first + std::max(1, Curve.RowCount() - 1));
    TimeAxis->setRange(time.First, time.Last);
    TimeAxis->setTickCount(time.TickCount);
    ShowLegend();
    const TTidyAxis persons = TidyAxis(0, Curve.PersonCount);
    PersonAxis->setRange(persons.First, persons.Last);
    PersonAxis->setTickCount(persons.TickCount);
    Summary->setText(SummaryText());
    ShowTime(first);
}

void TEvacuationCurveWindow::ShowLegend() {
    Legend->setText(LegendHtml());
}

QString TEvacuationCurveWindow::LegendHtml() const {
    return ::LegendHtml(*Chart, {Marker});
}

void TEvacuationCurveWindow::ShowTime(double seconds) {
    if (Marker != nullptr) {
        Marker->replace(
            QList<QPointF>{{seconds, 0.0}, {seconds, double(std::max(1, Curve.PersonCount))}});
    }
}

double TEvacuationCurveWindow::MarkerTime() const {
    return Marker != nullptr && Marker->count() > 0 ? Marker->at(0).x() : 0.0;
}

QString TEvacuationCurveWindow::SummaryText() const {
    if (!Curve.Leaving) {
        return "There are no persons in this project.";
    }
    return QStringLiteral("Everybody has left after %1. 50 % have left after %2, 90 % after %3.")
        .arg(ClockToTheMillisecond(Curve.Leaving->AllMs),
             ClockToTheMillisecond(Curve.Leaving->HalfMs),
             ClockToTheMillisecond(Curve.Leaving->NineTenthsMs));
}

bool TEvacuationCurveWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ChartView->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton) {
            ChooseSecondAt(click->position().toPoint());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEvacuationCurveWindow::ChooseSecondAt(QPoint viewportPoint) {
    if (SavedSeries == nullptr || !OnSecondChosen) {
        return;
    }
    const QPointF inChart = Chart->mapFromScene(ChartView->mapToScene(viewportPoint));
    if (!Chart->plotArea().contains(inChart)) {
        return;
    }
    const double time = Chart->mapToValue(inChart, SavedSeries).x();
    const auto second = static_cast<std::int32_t>(
        std::clamp(std::lround(time - Curve.TimeOffset), 0L, long{Curve.RowCount() - 1}));
    OnSecondChosen(second);
}

QString TEvacuationCurveWindow::Export(const QString& csvFile) {
    // The table and its picture replace their older files together or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QImage picture = Picture(QSize(PictureWidth->value(), PictureHeight->value()));
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        return PngBeside(csvFile) + "\nThe picture of the plot could not be made.";
    }
    const std::string csv = Curve.Csv();
    const TWriteFailure failure =
        WriteFilesAtomically({{csvFile, QByteArray(csv.data(), static_cast<qsizetype>(csv.size()))},
                              {PngBeside(csvFile), png}});
    return failure.Reason.isEmpty() ? QString() : failure.FileName + "\n" + failure.Reason;
}

// The marker of the replay time stays in the window: the picture shows the evacuation.
QImage TEvacuationCurveWindow::Picture(QSize pixels) const {
    return TChartPicture({{Chart, 1, {Marker}}}, LogName, Legend->font()).Draw(pixels);
}

// In the log's folder unless the user goes elsewhere.
void TEvacuationCurveWindow::ExportClick() {
    const auto chosen = Ui().SaveFileName({"Export evacuation curve", "CSV file (*.csv)",
                                           LogFolder.toStdString(), "evacuation-curve.csv", "csv"});
    if (!chosen) {
        return;
    }
    const QString csv = QString::fromStdString(*chosen);
    const QStringList files{csv, PngBeside(csv)};
    const bool replacing = QFileInfo::exists(files[0]) || QFileInfo::exists(files[1]);
    const QString error = Export(csv);
    if (!error.isEmpty()) {
        Ui().MessageBox("Error", "Cannot export the evacuation curve:\n" + error.toStdString(),
                        TMsgIcon::Exclamation, TMsgButtons::Ok);
    } else if (OnSaved) {
        OnSaved(files, replacing);
    }
}
