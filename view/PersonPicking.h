#pragma once
// Which person a click into the view means: the ray from the eye through the point clicked, and
// the person nearest the eye whose prism it passes through. A prism is taken as the box it stands
// in, a cell wide and deep and a person tall, which makes thin prisms easy to hit.

#include "CameraMath.h"
#include "PersonData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A half line in deck coordinates (the pan taken into account); Direction is not of unit length.
struct TViewRay {
    std::array<double, 3> Origin;
    std::array<double, 3> Direction;
};

// The ray through a point of a view of that aspect (width / height), the point given as
// ProjectedPoint gives it: -1 .. 1 across the view's width and height, +y up.
std::optional<TViewRay> RayThrough(const TCamera& camera, double aspect,
                                   const std::array<double, 2>& point);

// Where along the ray, in units of its direction, it first enters the box of a person standing
// at (x, y); none when it misses the box or the box lies behind the eye.
std::optional<double> PrismHit(const TViewRay& ray, float x, float y);

// The index of the person on the deck whose box the ray enters first; none when it enters none.
std::optional<std::size_t> PickPerson(const TViewRay& ray, const std::vector<TPersonData>& persons,
                                      std::int32_t deck);
