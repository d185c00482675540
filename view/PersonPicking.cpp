#include "PersonPicking.h"

#include "PersonPrisms.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

std::optional<TViewRay> RayThrough(const TCamera& camera, double aspect,
                                   const std::array<double, 2>& point) {
    // The axes ProjectedPoint projects onto, so that a point projected and picked meet.
    const std::optional<TViewAxes> axes = ViewAxesOf(camera);
    if (!axes || !(aspect > 0.0)) {
        return std::nullopt;
    }
    const std::array<double, 3>& eye = camera.FEye;
    TViewRay ray{};
    ray.Origin = {eye[0] - camera.FPan[0], eye[1] - camera.FPan[1], eye[2]};
    if (camera.FPlan) {
        // Every ray of the plan runs straight down, from the point of the view clicked.
        const double halfHeight = PlanHalfHeight(camera.FDistance);
        for (std::size_t i = 0; i < 3; ++i) {
            ray.Origin[i] +=
                (axes->Right[i] * point[0] * aspect + axes->Up[i] * point[1]) * halfHeight;
        }
        ray.Direction = axes->Forward;
        return ray;
    }
    const double halfHeight = std::tan(CellViewFieldOfView * std::numbers::pi / 360.0);
    const double across = point[0] * halfHeight * aspect;
    const double upward = point[1] * halfHeight;
    for (std::size_t i = 0; i < 3; ++i) {
        ray.Direction[i] = axes->Forward[i] + axes->Right[i] * across + axes->Up[i] * upward;
    }
    return ray;
}

// The slabs of the box along each axis narrow the stretch of the ray inside all three.
std::optional<double> PrismHit(const TViewRay& ray, float x, float y) {
    const double cx = x;
    const double cy = y;
    const std::array<double, 3> low{cx - 0.5, cy - 0.5, 0.0};
    const std::array<double, 3> high{cx + 0.5, cy + 0.5, double{TPersonPrisms::Height}};
    double enter = 0.0;
    double leave = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < 3; ++i) {
        const double origin = ray.Origin[i];
        const double direction = ray.Direction[i];
        if (direction == 0.0) {
            if (origin < low[i] || origin > high[i]) {
                return std::nullopt;
            }
            continue;
        }
        const double a = (low[i] - origin) / direction;
        const double b = (high[i] - origin) / direction;
        enter = std::max(enter, std::min(a, b));
        leave = std::min(leave, std::max(a, b));
    }
    if (!(enter <= leave)) {
        return std::nullopt;
    }
    return enter;
}

std::optional<std::size_t> PickPerson(const TViewRay& ray, const std::vector<TPersonData>& persons,
                                      std::int32_t deck) {
    std::optional<std::size_t> nearest;
    double nearestHit = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < persons.size(); ++i) {
        const TPersonData& person = persons[i];
        if (person.Level != deck) {
            continue;
        }
        const std::optional<double> hit = PrismHit(ray, person.X(), person.Y());
        if (hit && *hit < nearestHit) {
            nearestHit = *hit;
            nearest = i;
        }
    }
    return nearest;
}
