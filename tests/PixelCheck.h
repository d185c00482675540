#pragma once
// Reading frames of the real renderer back pixel by pixel: colours, what they stand for, and
// where a point of the floor appears.

#include <QColor>
#include <QImage>
#include <QPoint>

#include <cmath>
#include <cstdlib>
#include <numbers>

struct TRgb {
    int R, G, B;
};

inline TRgb PixelAt(const QImage& frame, QPoint point) {
    const QColor c = frame.pixelColor(point);
    return {c.red(), c.green(), c.blue()};
}

// The clear colour of the view.
inline bool IsBackground(TRgb p) {
    return p.R == 0 && p.G == 0 && p.B == 51;
}
// Persons and the origin marker are green; lit from the side they darken but stay green.
inline bool IsPersonGreen(TRgb p) {
    return p.G > p.R + 60 && p.G > p.B + 60;
}
// Pure green as drawn head-on.
inline bool IsGreen(TRgb p) {
    return p.G > 80 && p.R < 30 && p.B < 30;
}
// Free floor and obstacles are shaded alike in all three channels.
inline bool IsGrey(TRgb p, int low, int high) {
    return std::abs(p.R - p.G) < 8 && std::abs(p.G - p.B) < 8 && p.R >= low && p.R <= high;
}

// Where a point of the floor appears in a frame of a camera straight above the look-at point: the
// vertical field of view is 60 degrees, so the frame's height spans 2 x distance x tan 30 degrees
// of floor, and the look-at point, the deck's centre until the view is panned, is in the middle.
inline QPoint FloorPixel(const QImage& frame, double distance, double x, double y) {
    const double pixelsPerCell =
        frame.height() / (2.0 * distance * std::tan(std::numbers::pi / 6.0));
    return {static_cast<int>(frame.width() / 2.0 + x * pixelsPerCell),
            static_cast<int>(frame.height() / 2.0 - y * pixelsPerCell)};
}
