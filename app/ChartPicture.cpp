#include "ChartPicture.h"

#include <QChart>
#include <QFontInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QSpinBox>
#include <QTextDocument>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>

namespace {

// The size a picture is laid out in at least: about that of a window on the screen, so that its
// text keeps the share of the picture it has there. A larger picture draws it at its own pixels,
// the text and lines as sharp as the picture is large.
constexpr double LayoutWidth = 800.0;
constexpr double LayoutHeight = 500.0;
constexpr double Margin = 6.0;
// Where the text does not fit, the picture is laid out larger by this step, down to a scale
// where no text of a legend could be read anyway.
constexpr double ScaleStep = 0.9;
constexpr double SmallestScale = 0.05;
// The plots keep at least this share of the picture's height.
constexpr double LeastPlotShare = 0.5;

// The exported picture's sides, in pixels; large enough for a page, small enough to be drawn.
constexpr int FewestPixels = 200;
constexpr int MostPixels = 8000;

std::unique_ptr<QTextDocument> TextDocument(const QString& html, const QFont& font, double width) {
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentMargin(0);
    document->setDefaultFont(font);
    QTextOption centred = document->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    // A name too long for the line overflows rather than breaks, so that the layout sees it.
    centred.setWrapMode(QTextOption::WordWrap);
    document->setDefaultTextOption(centred);
    document->setHtml(html);
    document->setTextWidth(std::max(width, 1.0));
    return document;
}

QFont TitleFont(const QFont& font) {
    QFont title = font;
    title.setPixelSize(static_cast<int>(std::lround(QFontInfo(font).pixelSize() * 1.4)));
    title.setBold(true);
    return title;
}

QValueAxis* CopyOfAxis(const QValueAxis& axis, QChart& chart) {
    auto* copy = new QValueAxis(&chart);
    copy->setTitleText(axis.titleText());
    copy->setLabelFormat(axis.labelFormat());
    copy->setRange(axis.min(), axis.max());
    copy->setTickCount(axis.tickCount());
    chart.addAxis(copy, axis.alignment());
    return copy;
}

// The series' colours are set after adding it: the chart's theme colours a series it adds.
QXYSeries* CopyOfSeries(const QAbstractSeries& series, QChart& chart) {
    if (const auto* dots = qobject_cast<const QScatterSeries*>(&series)) {
        auto* copy = new QScatterSeries(&chart);
        copy->setMarkerShape(dots->markerShape());
        copy->setMarkerSize(dots->markerSize());
        copy->append(dots->points());
        chart.addSeries(copy);
        copy->setColor(dots->color());
        copy->setBorderColor(dots->borderColor());
        return copy;
    }
    if (const auto* line = qobject_cast<const QLineSeries*>(&series)) {
        auto* copy = new QLineSeries(&chart);
        copy->setName(line->name());
        copy->append(line->points());
        chart.addSeries(copy);
        copy->setPen(line->pen());
        return copy;
    }
    return nullptr;
}

// The panel's chart again, without its legend (the picture writes it below, wrapped).
QChart* CopyOfChart(const TChartPanel& panel) {
    const QChart& source = *panel.Chart;
    auto* chart = new QChart();
    chart->legend()->hide();
    QMargins margins = chart->margins();
    margins.setBottom(0); // the legend follows right below
    chart->setMargins(margins);
    chart->setTitleFont(source.titleFont());
    chart->setTitle(source.title());
    std::map<const QAbstractAxis*, QValueAxis*> axes;
    for (QAbstractAxis* axis : source.axes()) {
        if (const auto* values = qobject_cast<const QValueAxis*>(axis)) {
            axes[axis] = CopyOfAxis(*values, *chart);
        }
    }
    for (QAbstractSeries* series : source.series()) {
        if (panel.LeftOut.contains(series)) {
            continue;
        }
        if (QXYSeries* copy = CopyOfSeries(*series, *chart)) {
            for (QAbstractAxis* axis : series->attachedAxes()) {
                if (const auto found = axes.find(axis); found != axes.end()) {
                    copy->attachAxis(found->second);
                }
            }
        }
    }
    return chart;
}

// Where a series left out of the legend says so: the legend's own markers may also be hidden
// because its layout had no room for them.
constexpr char LeftOutOfLegend[] = "leftOutOfLegend";

} // namespace

void LeaveOutOfLegend(QChart& chart, QAbstractSeries& series) {
    series.setProperty(LeftOutOfLegend, true);
    for (QLegendMarker* marker : chart.legend()->markers(&series)) {
        marker->setVisible(false);
    }
}

QString LegendHtml(const QChart& chart, const QList<const QAbstractSeries*>& leftOut) {
    QStringList entries;
    for (QAbstractSeries* series : chart.series()) {
        const auto* points = qobject_cast<const QXYSeries*>(series);
        if (points == nullptr || leftOut.contains(series) ||
            series->property(LeftOutOfLegend).toBool()) {
            continue;
        }
        entries << QString("<span style=\"white-space:nowrap\"><span style=\"color:%1\">"
                           "&#9632;</span>&nbsp;%2</span>")
                       .arg(points->color().name(), points->name().toHtmlEscaped());
    }
    return entries.join(" &nbsp; ");
}

namespace {

struct TPictureTexts {
    std::unique_ptr<QTextDocument> Title;
    std::vector<std::unique_ptr<QTextDocument>> Legends;
};

// The picture laid out at a scale, the texts wrapped to their places.
TChartPictureLayout LayOutAt(const std::vector<TChartPanel>& panels, const QString& title,
                             const QFont& font, QSize pixels, double scale, TPictureTexts& texts) {
    TChartPictureLayout layout;
    layout.Scale = scale;
    layout.Size = QSizeF(pixels) / scale;
    const double width = layout.Size.width();
    double top = 0.0;
    texts.Title.reset();
    if (!title.isEmpty()) {
        texts.Title = TextDocument(title.toHtmlEscaped(), TitleFont(font), width - 2 * Margin);
        layout.Title = QRectF(Margin, Margin, width - 2 * Margin, texts.Title->size().height());
        top = layout.Title.bottom();
    }
    const int stretches =
        std::accumulate(panels.begin(), panels.end(), 0,
                        [](int sum, const TChartPanel& p) { return sum + p.Stretch; });
    texts.Legends.clear();
    double legendHeight = 0.0;
    double left = 0.0;
    for (const TChartPanel& panel : panels) {
        const double panelWidth = width * panel.Stretch / std::max(stretches, 1);
        texts.Legends.push_back(
            TextDocument(LegendHtml(*panel.Chart, panel.LeftOut), font, panelWidth - 2 * Margin));
        legendHeight = std::max(legendHeight, texts.Legends.back()->size().height() + Margin);
        layout.Charts.emplace_back(left, top, panelWidth, 0.0);
        left += panelWidth;
    }
    const double chartHeight = std::max(layout.Size.height() - top - legendHeight, 0.0);
    for (std::size_t k = 0; k < panels.size(); ++k) {
        QRectF& chart = layout.Charts[k];
        chart.setHeight(chartHeight);
        layout.Legends.emplace_back(chart.left() + Margin, chart.bottom(),
                                    chart.width() - 2 * Margin, legendHeight - Margin);
        const QTextDocument& legend = *texts.Legends[k];
        layout.LegendTexts.emplace_back(legend.idealWidth(), legend.size().height());
    }
    return layout;
}

bool Fits(const TChartPictureLayout& layout, const TPictureTexts& texts) {
    for (std::size_t k = 0; k < layout.Legends.size(); ++k) {
        if (layout.LegendTexts[k].width() > layout.Legends[k].width() + 0.5) {
            return false;
        }
    }
    if (texts.Title && texts.Title->idealWidth() > layout.Title.width() + 0.5) {
        return false;
    }
    return layout.Charts.empty() ||
           layout.Charts.front().height() >= layout.Size.height() * LeastPlotShare;
}

} // namespace

TChartPicture::TChartPicture(std::vector<TChartPanel> panels, QString title, QFont font)
    : Panels(std::move(panels)), Title(std::move(title)), Font(std::move(font)) {}

TChartPictureLayout TChartPicture::Layout(QSize pixels) const {
    TPictureTexts texts;
    double scale =
        std::max(1.0, std::min(pixels.width() / LayoutWidth, pixels.height() / LayoutHeight));
    for (;;) {
        TChartPictureLayout layout = LayOutAt(Panels, Title, Font, pixels, scale, texts);
        if (Fits(layout, texts) || scale * ScaleStep < SmallestScale) {
            return layout;
        }
        scale *= ScaleStep;
    }
}

// Charts of their own, laid out at the picture's size, rather than the window's stretched: the
// window stays as it is, and the picture is drawn at its own resolution.
QImage TChartPicture::Draw(QSize pixels) const {
    QImage picture(pixels, QImage::Format_RGB32);
    if (picture.isNull()) {
        return picture; // more memory than there is
    }
    picture.fill(Qt::white);
    TPictureTexts texts;
    const TChartPictureLayout layout =
        LayOutAt(Panels, Title, Font, pixels, Layout(pixels).Scale, texts);

    QGraphicsScene scene; // owns the charts from here on
    for (std::size_t k = 0; k < Panels.size(); ++k) {
        QChart* chart = CopyOfChart(Panels[k]);
        scene.addItem(chart);
        chart->setGeometry(layout.Charts[k]);
        chart->layout()->activate();
    }
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(layout.Scale, layout.Scale);
    const QRectF whole(QPointF(0, 0), layout.Size);
    scene.render(&painter, whole, whole);
    const auto drawAt = [&painter](QTextDocument& text, QPointF corner) {
        painter.save();
        painter.translate(corner);
        text.drawContents(&painter);
        painter.restore();
    };
    if (texts.Title) {
        drawAt(*texts.Title, layout.Title.topLeft());
    }
    for (std::size_t k = 0; k < Panels.size(); ++k) {
        drawAt(*texts.Legends[k], layout.Legends[k].topLeft());
    }
    return picture;
}

namespace {

QSpinBox* PixelBox(int value, const QString& tip, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(FewestPixels, MostPixels);
    box->setSingleStep(100);
    box->setValue(value);
    box->setToolTip(tip);
    box->setAccessibleName(tip);
    return box;
}

} // namespace

TPictureSizeFields::TPictureSizeFields(QWidget* parent) : QWidget(parent) {
    Width = PixelBox(1600, "Width of the exported picture, in pixels", this);
    Height = PixelBox(1000, "Height of the exported picture, in pixels", this);
    auto* label = new QLabel("P&icture", this); // Alt+P is Export PNG beside it
    label->setBuddy(Width);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(Width);
    row->addWidget(new QLabel(QStringLiteral("\u00d7"), this));
    row->addWidget(Height);
    row->addWidget(new QLabel("px", this));
}

QSize TPictureSizeFields::Pixels() const {
    return {Width->value(), Height->value()};
}
