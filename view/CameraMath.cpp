#include "CameraMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double RadiansPerPixel = 0.008;
// Pan units per pixel and per unit of distance: far away, a pixel covers more of the deck.
constexpr double PanPerPixel = 0.00125;
constexpr double NearPlane = 1.0;

// The largest of the box's corners' distances from the middle of the view, in half views;
// infinite while a corner is not in front of the camera.
double BoxSpread(const TCamera& camera, const TDeckBox& box, double aspect) {
    double spread = 0.0;
    for (const double x : {box.MinX, box.MaxX}) {
        for (const double y : {box.MinY, box.MaxY}) {
            for (const double z : {0.0, box.Height}) {
                const auto seen = ProjectedPoint(camera, aspect, {x, y, z});
                if (!seen) {
                    return std::numeric_limits<double>::infinity();
                }
                spread = std::max({spread, std::abs((*seen)[0]), std::abs((*seen)[1])});
            }
        }
    }
    return spread;
}

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

void TCamera::Reset(std::int32_t maxExtent) {
    FPlan = false;
    FPhi = 0.0;
    FTheta = 0.0;
    FPan = {0.0, 0.0};
    RecomputeUp();
    FitToDeck(maxExtent);
}

// The spread of the box only shrinks as the camera backs away along its line of sight, so the
// distance that gives the wanted spread is found by halving an interval that holds it.
void TCamera::FitToBox(const TDeckBox& box, double aspect) {
    FPan = {-(box.MinX + box.MaxX) / 2, -(box.MinY + box.MaxY) / 2};
    RecomputeUp();
    const auto spreadAt = [&](double distance) {
        TCamera probe = *this;
        probe.SetDistance(distance);
        return BoxSpread(probe, box, aspect);
    };
    double near = MinimumDistance;
    // Four times the box's size is always far enough; the doubling below is only a safeguard.
    double far =
        std::max(2.0 * near, 4.0 * (box.MaxX - box.MinX + box.MaxY - box.MinY + box.Height));
    if (spreadAt(near) <= FittedShare) {
        SetDistance(near);
        return;
    }
    while (spreadAt(far) > FittedShare && far < 1e12) {
        far *= 2.0;
    }
    for (int i = 0; i < 60 && far - near > far * 1e-9; ++i) {
        const double middle = (near + far) / 2;
        (spreadAt(middle) > FittedShare ? near : far) = middle;
    }
    SetDistance(far);
}

void TCamera::TurnTo(TCameraPreset preset) {
    FPhi = 0.0;
    FPlan = preset == TCameraPreset::Plan;
    switch (preset) {
    case TCameraPreset::Top:
    case TCameraPreset::Plan:
        FTheta = 0.0;
        break;
    case TCameraPreset::Side:
        FTheta = -std::numbers::pi / 2;
        break;
    case TCameraPreset::Oblique:
        FTheta = -std::numbers::pi / 4;
        break;
    }
    RecomputeEye();
    RecomputeUp();
}

void TCamera::Place(double phi, double theta, double distance, const std::array<double, 2>& pan,
                    bool plan) {
    FPlan = plan;
    FPhi = plan ? 0.0 : phi;
    FTheta = plan ? 0.0 : theta;
    FDistance = distance;
    FPan = pan;
    RecomputeEye();
    RecomputeUp();
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
    if (FPlan) {
        return; // the plan stays straight down, north up
    }
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

std::optional<TViewAxes> ViewAxesOf(const TCamera& camera) {
    const std::array<double, 3>& eye = camera.FEye;
    const std::array<double, 3>& up = camera.FUp;
    const double length = std::hypot(eye[0], eye[1], eye[2]);
    if (!(length > 0.0)) {
        return std::nullopt;
    }
    const std::array<double, 3> forward{-eye[0] / length, -eye[1] / length, -eye[2] / length};
    const std::array<double, 3> right{forward[1] * up[2] - forward[2] * up[1],
                                      forward[2] * up[0] - forward[0] * up[2],
                                      forward[0] * up[1] - forward[1] * up[0]};
    return TViewAxes{forward, right, up};
}

std::optional<std::array<double, 2>> ProjectedPoint(const TCamera& camera, double aspect,
                                                    const std::array<double, 3>& point) {
    const std::optional<TViewAxes> axes = ViewAxesOf(camera);
    if (!axes || !(aspect > 0.0)) {
        return std::nullopt;
    }
    const std::array<double, 3>& eye = camera.FEye;
    const std::array<double, 3> offset{point[0] + camera.FPan[0] - eye[0],
                                       point[1] + camera.FPan[1] - eye[1], point[2] - eye[2]};
    const auto dot = [&offset](const std::array<double, 3>& axis) {
        return offset[0] * axis[0] + offset[1] * axis[1] + offset[2] * axis[2];
    };
    const double depth = dot(axes->Forward);
    if (!camera.FPlan && depth <= NearPlane) {
        return std::nullopt;
    }
    const double halfHeight =
        camera.FPlan ? PlanHalfHeight(camera.FDistance)
                     : depth * std::tan(CellViewFieldOfView * std::numbers::pi / 360.0);
    return std::array<double, 2>{dot(axes->Right) / (halfHeight * aspect),
                                 dot(axes->Up) / halfHeight};
}

double PlanHalfHeight(double distance) {
    return distance * std::tan(CellViewFieldOfView * std::numbers::pi / 360.0);
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
