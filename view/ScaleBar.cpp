#include "ScaleBar.h"

#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <cmath>

namespace {

constexpr int BarHeight = 6;
constexpr int Gap = 3;

} // namespace

std::optional<double> CellPixelsAtCentre(const TCamera& camera, int width, int height) {
    const std::optional<TViewAxes> axes = ViewAxesOf(camera);
    if (!axes || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    // Half a cell either way along the floor, in the direction of the view's width.
    const double across = std::hypot(axes->Right[0], axes->Right[1]);
    if (!(across > 0.0)) {
        return std::nullopt;
    }
    const double dx = axes->Right[0] / across / 2;
    const double dy = axes->Right[1] / across / 2;
    const double aspect = static_cast<double>(width) / height;
    const std::array<double, 3> centre{-camera.FPan[0], -camera.FPan[1], 0.0};
    const auto east = ProjectedPoint(camera, aspect, {centre[0] + dx, centre[1] + dy, 0.0});
    const auto west = ProjectedPoint(camera, aspect, {centre[0] - dx, centre[1] - dy, 0.0});
    if (!east || !west) {
        return std::nullopt;
    }
    return std::hypot(((*east)[0] - (*west)[0]) * width / 2,
                      ((*east)[1] - (*west)[1]) * height / 2);
}

std::optional<TScaleBarLength> RoundScaleBar(double cellPixels, double cellMetres, int viewWidth) {
    if (!(cellPixels > 0.0 && cellMetres > 0.0 && viewWidth > 0)) {
        return std::nullopt;
    }
    const double pixelsPerMetre = cellPixels / cellMetres;
    const double longest = viewWidth / 4.0 / pixelsPerMetre;
    const double decade = std::pow(10.0, std::floor(std::log10(longest)));
    double metres = decade;
    for (const double step : {2.0, 5.0, 10.0}) {
        // A hair of room, so that a quarter that is itself round is taken.
        if (step * decade <= longest * (1.0 + 1e-9)) {
            metres = step * decade;
        }
    }
    return TScaleBarLength{metres, metres * pixelsPerMetre};
}

QString ScaleBarText(double metres) {
    return QString::number(metres, 'g', 6) + QStringLiteral(" m");
}

QImage ScaleBarPicture(const TScaleBarLength& length) {
    const int bar = static_cast<int>(std::floor(length.Pixels + 0.5));
    const QFontMetrics metrics{QFont()};
    const QString text = ScaleBarText(length.Metres);
    const int width = std::max(bar, metrics.horizontalAdvance(text)) + 2 * ScaleBarPadding;
    const int height = 2 * ScaleBarPadding + metrics.height() + Gap + BarHeight;
    QImage picture(width, height, QImage::Format_RGBA8888);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawRoundedRect(picture.rect(), 4, 4);
    painter.setPen(Qt::black);
    const int textBase = ScaleBarPadding + metrics.ascent();
    painter.drawText(ScaleBarPadding + (bar - metrics.horizontalAdvance(text)) / 2, textBase, text);
    painter.fillRect(ScaleBarPadding, height - ScaleBarPadding - BarHeight, bar, BarHeight,
                     Qt::black);
    return picture;
}
