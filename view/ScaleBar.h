#pragma once
// A scale bar in metres for a corner of the view: a round length (1, 2 or 5 times a power of ten
// metres) drawn as long as the deck shows it. In the plan every cell is equally long on screen;
// in a perspective view the length of a cell differs across the picture, so it is measured where
// the centre of the view meets the floor.

#include "CameraMath.h"

#include <QImage>
#include <QString>

#include <optional>

struct TScaleBarLength {
    double Metres = 0.0;
    double Pixels = 0.0;
};

// Pixels one cell of the floor spans across the view's width, at the point of the floor under
// the centre of a view of width x height pixels; none when that point is not in front of the eye.
std::optional<double> CellPixelsAtCentre(const TCamera& camera, int width, int height);

// The longest round length that is at most a quarter of the view's width, which makes it at least
// a tenth: 1-2-5 steps grow by up to two and a half times. None for a view or a cell of no size.
std::optional<TScaleBarLength> RoundScaleBar(double cellPixels, double cellMetres, int viewWidth);

// "10 m", "0.5 m".
QString ScaleBarText(double metres);

// The bar on a pale box, its label above it; the bar starts at x = ScaleBarPadding and is the
// length's pixels long, rounded half up. Needs a GUI application for the font.
QImage ScaleBarPicture(const TScaleBarLength& length);
inline constexpr int ScaleBarPadding = 8;
