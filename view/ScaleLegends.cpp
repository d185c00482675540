#include "ScaleLegends.h"

#include "ColourScales.h"
#include "Replay.h"

#include <QPainter>

#include <algorithm>
#include <functional>

namespace {

constexpr int LegendWidth = 230;
constexpr int Padding = 8;
constexpr int BarHeight = 12;
constexpr int Gap = 4;

QString SecondsText(float seconds) {
    return seconds < 10.0f ? QString::number(double(seconds), 'f', 1)
                           : QString::number(double(seconds), 'f', 0);
}

struct TLegendScale {
    QString Title;
    std::function<TRgba(float share)> Colour; // share 0 .. 1 of the bar
    QColor Under;                             // what the bar's colours are laid over
    float Top;
    bool MoreAboveTop; // the top's label ends in "+"
    QString Note;      // a last line; none when empty
};

// As wide as its longest text needs, at least LegendWidth.
QImage ScaleLegend(const TLegendScale& scale) {
    const QFontMetrics metrics{QFont()};
    const int lines = scale.Note.isEmpty() ? 2 : 3;
    const int width = std::max({LegendWidth, metrics.horizontalAdvance(scale.Title) + 2 * Padding,
                                metrics.horizontalAdvance(scale.Note) + 2 * Padding});
    QImage legend(width, 2 * Padding + lines * metrics.height() + BarHeight + Gap,
                  QImage::Format_RGBA8888);
    legend.fill(Qt::transparent);
    QPainter painter(&legend);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawRoundedRect(legend.rect(), 4, 4);
    painter.setPen(Qt::black);
    const int titleBase = Padding + metrics.ascent();
    painter.drawText(Padding, titleBase, scale.Title);
    const int barTop = titleBase + metrics.descent() + Gap;
    const int barWidth = width - 2 * Padding;
    painter.fillRect(Padding, barTop, barWidth, BarHeight, scale.Under);
    for (int x = 0; x < barWidth; ++x) {
        const TRgba c = scale.Colour(float(x + 1) / float(barWidth));
        painter.fillRect(Padding + x, barTop, 1, BarHeight, QColor(c.R, c.G, c.B, c.A));
    }
    const int labelBase = barTop + BarHeight + metrics.ascent() + 2;
    const QString most = SecondsText(scale.Top) + (scale.MoreAboveTop ? "+" : "");
    const QString half = SecondsText(scale.Top / 2);
    painter.drawText(Padding, labelBase, QStringLiteral("0"));
    painter.drawText(Padding + (barWidth - metrics.horizontalAdvance(half)) / 2, labelBase, half);
    painter.drawText(Padding + barWidth - metrics.horizontalAdvance(most), labelBase, most);
    if (!scale.Note.isEmpty()) {
        painter.drawText(Padding, labelBase + metrics.height(), scale.Note);
    }
    painter.end();
    return legend;
}

} // namespace

QString CongestionLegendTitle(const TCongestionMap& map) {
    const QString span =
        map.Whole != nullptr
            ? QStringLiteral(" up to ") + QString::fromStdString(ClockText(map.UpToSeconds))
            : QStringLiteral(", whole replay");
    return QStringLiteral("Standing time") + span + QStringLiteral(", person-seconds per cell");
}

// One scale for every moment, the whole replay's, so that a colour means the same throughout.
QImage CongestionLegend(const TCongestionMap& map) {
    return ScaleLegend({CongestionLegendTitle(map), &CongestionColour, QColor(166, 166, 166),
                        map.ScaleTop, map.Highest > map.ScaleTop,
                        QStringLiteral("%1 % of cells stood on in the whole replay are below %2")
                            .arg(TCongestionMap::ScaleShare * 100, 0, 'f', 0)
                            .arg(SecondsText(map.ScaleTop))});
}

QImage WaitingLegend(float limit) {
    return ScaleLegend({QStringLiteral("Persons: seconds stood still"),
                        [limit](float share) { return WaitingColour(share * limit, limit); },
                        Qt::white, limit, true, QStringLiteral("green: moved in its last step")});
}

QImage StackedLegends(const QImage& lower, const QImage& upper) {
    if (lower.isNull() || upper.isNull()) {
        return lower.isNull() ? upper : lower;
    }
    QImage both(std::max(lower.width(), upper.width()), lower.height() + Gap + upper.height(),
                QImage::Format_RGBA8888);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawImage(0, 0, upper);
    painter.drawImage(0, upper.height() + Gap, lower);
    painter.end();
    return both;
}
