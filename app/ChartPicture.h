#pragma once
// A picture of a window's plots for a report: the charts drawn again at the size the user chose,
// side by side under one title, each with its whole legend below it; and the fields beside an
// Export button where that size is chosen.

#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

class QAbstractSeries;
class QChart;
class QSpinBox;

// A chart of the window as the picture draws it again: its axes, its series and its own title.
struct TChartPanel {
    const QChart* Chart = nullptr;
    // Its share of the picture's width, against the other panels'.
    int Stretch = 1;
    // Series the window shows but the picture leaves out, as a marker of the replay time.
    QList<const QAbstractSeries*> LeftOut;
};

// Leaves the series out of the chart's legend and out of the legend LegendHtml writes.
void LeaveOutOfLegend(QChart& chart, QAbstractSeries& series);
// A coloured square and the name of each series of the chart (but those left out of its legend,
// or left out here), kept together, the entries wrapped between.
QString LegendHtml(const QChart& chart, const QList<const QAbstractSeries*>& leftOut = {});

// Where the parts of a picture go, in the units it is laid out in (Scale of them to a pixel).
struct TChartPictureLayout {
    double Scale = 1.0;
    QSizeF Size;
    QRectF Title;
    std::vector<QRectF> Charts;
    std::vector<QRectF> Legends;
    // The room each legend's text takes, wrapped to its place's width.
    std::vector<QSizeF> LegendTexts;
};

class TChartPicture {
public:
    // The title above the charts; empty, none. The font is that of the legends; the title's is
    // larger and bold.
    TChartPicture(std::vector<TChartPanel> panels, QString title, QFont font);

    // Laid out at that many pixels: at a window's size at least, larger where the legends or the
    // title need the room (the picture's text then smaller), so that nothing is cut.
    TChartPictureLayout Layout(QSize pixels) const;
    // Drawn into that many pixels; a null image where there is not the memory.
    QImage Draw(QSize pixels) const;

private:
    std::vector<TChartPanel> Panels;
    QString Title;
    QFont Font;
};

// "Picture [1600] x [1000] px": the size of an exported picture, kept while the program runs.
class TPictureSizeFields final : public QWidget {
public:
    explicit TPictureSizeFields(QWidget* parent);
    QSize Pixels() const;

    QSpinBox* Width = nullptr;
    QSpinBox* Height = nullptr;
};
