#include "CameraMath.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double RadiansPerPixel = 0.008;
// Pan units per pixel and per unit of distance: far away, a pixel covers more of the deck.
constexpr double PanPerPixel = 0.00125;
constexpr double NearPlane = 1.0;

} // namespace

void TCamera::SetDistance(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    FDistance = std::max(value, MinimumDistance);
    RecomputeEye();
}

void TCamera::FitToDeck(std::int32_t maxExtent) {
    FDistance = FitDistance(maxExtent);
    RecomputeEye();
}

TMouseResponse TCamera::MouseDown(TMouseButton button, std::int32_t x, std::int32_t y) {
    if (!FIsControlEnabled) {
        return {};
    }
    FLastX = x;
    FLastY = y;
    switch (button) {
    case TMouseButton::Left:
        FMouseMode = TMouseMode::Rotate;
        return {false, TCursor::Cross};
    case TMouseButton::Right:
        FMouseMode = TMouseMode::Pan;
        return {false, TCursor::Hand};
    case TMouseButton::Other:
        break;
    }
    return {};
}

TMouseResponse TCamera::MouseMove(std::int32_t x, std::int32_t y) {
    if (!FIsControlEnabled) {
        return {};
    }
    const double dx = static_cast<double>(x) - FLastX;
    const double dy = static_cast<double>(y) - FLastY;
    if (FMouseMode == TMouseMode::Rotate) {
        Rotate(dx, dy);
    } else if (FMouseMode == TMouseMode::Pan) {
        Pan(dx, dy);
    }
    FLastX = x;
    FLastY = y;
    RecomputeEye();
    RecomputeUp();
    return {true, TCursor::Unchanged};
}

TMouseResponse TCamera::MouseUp() {
    FMouseMode = TMouseMode::None;
    return {false, TCursor::Arrow};
}

std::array<float, 2> TCamera::ViewCentre() const {
    return {static_cast<float>(-FPan[0]), static_cast<float>(-FPan[1])};
}

void TCamera::Rotate(double dx, double dy) {
    FPhi += dx * RadiansPerPixel;
    FTheta += dy * RadiansPerPixel;
}

// Turns the pointer's motion on the screen into motion on the deck as seen from above, so that
// the deck follows the pointer whatever the azimuth. Screen y grows downwards.
void TCamera::Pan(double dx, double dy) {
    const double k = PanPerPixel * FDistance;
    const double s = std::sin(FPhi);
    const double c = std::cos(FPhi);
    FPan[0] += (s * -dy + c * dx) * k;
    FPan[1] += (c * -dy - s * dx) * k;
}

void TCamera::RecomputeEye() {
    const double ground = std::sin(FTheta) * FDistance;
    FEye = {ground * std::sin(FPhi), ground * std::cos(FPhi), std::cos(FTheta) * FDistance};
}

// Perpendicular to the line of sight, and +y on the screen when looking straight down.
void TCamera::RecomputeUp() {
    const double c = std::cos(FTheta);
    FUp = {c * std::sin(FPhi), c * std::cos(FPhi), -std::sin(FTheta)};
}

double FitDistance(std::int32_t maxExtent) {
    const double fit = maxExtent * 0.5 / std::tan(CellViewFieldOfViewRadians * 0.5);
    return std::max(fit, MinimumDistance);
}

double ZoomedIn(double distance) {
    return distance * 0.9;
}

double ZoomedOut(double distance) {
    return distance * 1.1;
}

// 120 per notch moves the camera by 2.4 per cent; a delta away from the user comes closer.
double WheelZoomed(double distance, std::int32_t wheelDelta) {
    return distance - distance * (wheelDelta * 0.0002);
}

TProjection ProjectionFor(std::int32_t width, std::int32_t height, std::int32_t fieldOfView,
                          double distance, const std::array<double, 2>& pan,
                          std::int32_t maxExtent) {
    // A control of no size still gets a usable aspect.
    const float w = width == 0 ? 1.0f : static_cast<float>(width);
    const float h = height == 0 ? 1.0f : static_cast<float>(height);
    // Whole units, summed in double so that no distance or pan is too large for them.
    const double panLength = std::abs(std::trunc(std::hypot(pan[0], pan[1])));
    const double far = panLength + std::abs(std::trunc(distance)) + maxExtent;
    return {static_cast<double>(fieldOfView), w / h, NearPlane, std::max(far, NearPlane + 1.0)};
}
