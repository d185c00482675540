#include "CongestionLegend.h"

#include "CongestionScale.h"

#include <QPainter>

namespace {

constexpr int LegendWidth = 230;
constexpr int LegendHeight = 76;
constexpr int Padding = 8;
constexpr int BarHeight = 12;

QString SecondsText(float seconds) {
    return seconds < 10.0f ? QString::number(double(seconds), 'f', 1)
                           : QString::number(double(seconds), 'f', 0);
}

} // namespace

QImage CongestionLegend(const TCongestionMap& map) {
    QImage legend(LegendWidth, LegendHeight, QImage::Format_RGBA8888);
    legend.fill(Qt::transparent);
    QPainter painter(&legend);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawRoundedRect(legend.rect(), 4, 4);
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int titleBase = Padding + metrics.ascent();
    painter.drawText(Padding, titleBase, QStringLiteral("Standing, person-seconds per cell"));
    // The bar shows the scale over the floor's grey, as the map shows it on the floor.
    const int barTop = titleBase + metrics.descent() + 4;
    const int barWidth = LegendWidth - 2 * Padding;
    painter.fillRect(Padding, barTop, barWidth, BarHeight, QColor(166, 166, 166));
    for (int x = 0; x < barWidth; ++x) {
        const TRgba c = CongestionColour(float(x + 1) / float(barWidth));
        painter.fillRect(Padding + x, barTop, 1, BarHeight, QColor(c.R, c.G, c.B, c.A));
    }
    const int labelBase = barTop + BarHeight + metrics.ascent() + 2;
    // Cells above the top take its colour: its label says so.
    const QString most = SecondsText(map.ScaleTop) + (map.Highest > map.ScaleTop ? "+" : "");
    const QString half = SecondsText(map.ScaleTop / 2);
    painter.drawText(Padding, labelBase, QStringLiteral("0"));
    painter.drawText(Padding + (barWidth - metrics.horizontalAdvance(half)) / 2, labelBase, half);
    painter.drawText(Padding + barWidth - metrics.horizontalAdvance(most), labelBase, most);
    const int shareBase = labelBase + metrics.height();
    painter.drawText(Padding, shareBase,
                     QStringLiteral("%1 % of cells stood on are below %2")
                         .arg(TCongestionMap::ScaleShare * 100, 0, 'f', 0)
                         .arg(SecondsText(map.ScaleTop)));
    painter.end();
    return legend;
}
