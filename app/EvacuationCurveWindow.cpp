#include "EvacuationCurveWindow.h"

#include "FlowsPanel.h"

#include "JpegWriter.h"
#include "Replay.h"
#include "UiServices.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextDocument>
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

// The exported picture's sides, in pixels; large enough for a page, small enough to be drawn.
constexpr int FewestPixels = 200;
constexpr int MostPixels = 8000;

QSpinBox* PixelBox(int value, const QString& tip, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(FewestPixels, MostPixels);
    box->setSingleStep(100);
    box->setValue(value);
    box->setToolTip(tip);
    box->setAccessibleName(tip);
    return box;
}

// A copy of the axis, to draw the plot again elsewhere.
QValueAxis* CopyOfAxis(const QValueAxis& axis, QChart& chart, Qt::Alignment side) {
    auto* copy = new QValueAxis(&chart);
    copy->setTitleText(axis.titleText());
    copy->setLabelFormat(axis.labelFormat());
    copy->setRange(axis.min(), axis.max());
    copy->setTickCount(axis.tickCount());
    chart.addAxis(copy, side);
    return copy;
}

// The size the exported picture is laid out in: about that of a window on the screen, so that
// its text keeps the share of the picture it has there. The picture draws it at its own pixels,
// the text and lines as sharp as the picture is large.
constexpr double LayoutWidth = 800.0;
constexpr double LayoutHeight = 500.0;

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
    PictureWidth = PixelBox(1600, "Width of the exported picture, in pixels", this);
    PictureHeight = PixelBox(1000, "Height of the exported picture, in pixels", this);
    auto* pictureLabel = new QLabel("&Picture", this);
    pictureLabel->setBuddy(PictureWidth);
    auto* exportRow = new QHBoxLayout();
    exportRow->addStretch(1);
    exportRow->addWidget(pictureLabel);
    exportRow->addWidget(PictureWidth);
    exportRow->addWidget(new QLabel(QStringLiteral("\u00d7"), this));
    exportRow->addWidget(PictureHeight);
    exportRow->addWidget(new QLabel("px", this));
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

// A coloured square and the name of each series, kept together, the entries wrapped between.
QString TEvacuationCurveWindow::LegendHtml() const {
    QStringList entries;
    for (const QAbstractSeries* series : Chart->series()) {
        const auto* line = static_cast<const QLineSeries*>(series);
        if (line != Marker) {
            entries << QString("<span style=\"white-space:nowrap\"><span style=\"color:%1\">"
                               "&#9632;</span>&nbsp;%2</span>")
                           .arg(line->color().name(), line->name().toHtmlEscaped());
        }
    }
    return entries.join(" &nbsp; ");
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

// A chart of its own, laid out at the picture's size, rather than the window's chart stretched:
// the window stays as it is, and the picture is drawn at its own resolution. Its legend is the
// window's, wrapped to the picture's width.
QImage TEvacuationCurveWindow::Picture(QSize pixels) const {
    QImage picture(pixels, QImage::Format_RGB32);
    if (picture.isNull()) {
        return picture; // more memory than there is
    }
    const double ratio =
        std::max(1.0, std::min(pixels.width() / LayoutWidth, pixels.height() / LayoutHeight));
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    const QSizeF size = QSizeF(pixels) / ratio;

    constexpr double Margin = 6.0;
    QTextDocument legend;
    legend.setDefaultFont(Legend->font());
    QTextOption centred = legend.defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    legend.setDefaultTextOption(centred);
    legend.setHtml(LegendHtml());
    legend.setTextWidth(size.width() - 2 * Margin);
    const double legendHeight = std::min(legend.size().height() + Margin, size.height() / 2);

    QGraphicsScene scene; // owns the chart from here on
    auto* chart = new QChart();
    scene.addItem(chart);
    chart->legend()->hide();
    QMargins margins = chart->margins();
    margins.setBottom(0); // the legend follows right below
    chart->setMargins(margins);
    if (!LogName.isEmpty()) {
        QFont titleFont = font();
        titleFont.setPixelSize(static_cast<int>(std::lround(QFontInfo(font()).pixelSize() * 1.4)));
        titleFont.setBold(true);
        chart->setTitleFont(titleFont);
        chart->setTitle(LogName.toHtmlEscaped());
    }
    QValueAxis* time = CopyOfAxis(*TimeAxis, *chart, Qt::AlignBottom);
    QValueAxis* persons = CopyOfAxis(*PersonAxis, *chart, Qt::AlignLeft);
    // The marker of the replay time stays in the window: the picture shows the evacuation.
    for (const QAbstractSeries* series : Chart->series()) {
        const auto* line = static_cast<const QLineSeries*>(series);
        if (line == Marker) {
            continue;
        }
        auto* copy = new QLineSeries(chart);
        copy->setName(line->name());
        copy->append(line->points());
        chart->addSeries(copy);
        copy->setPen(line->pen()); // after adding: the chart's theme colours a series it adds
        copy->attachAxis(time);
        copy->attachAxis(persons);
    }
    const QRectF chartPlace(QPointF(0, 0), QSizeF(size.width(), size.height() - legendHeight));
    chart->setGeometry(chartPlace);
    chart->layout()->activate();

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, chartPlace, chartPlace);
    painter.translate(Margin, chartPlace.bottom());
    legend.drawContents(&painter);
    return picture;
}

void TEvacuationCurveWindow::ExportClick() {
    const auto chosen = Ui().SaveFileName(
        {"Export evacuation curve", "CSV file (*.csv)", "", "evacuation-curve.csv", "csv"});
    if (!chosen) {
        return;
    }
    const QString error = Export(QString::fromStdString(*chosen));
    if (!error.isEmpty()) {
        Ui().MessageBox("Error", "Cannot export the evacuation curve:\n" + error.toStdString(),
                        TMsgIcon::Exclamation, TMsgButtons::Ok);
    }
}
