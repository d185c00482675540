#pragma once

#include "grid.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace gen3dl {

inline constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();

// Steps from each cell to the nearest target, indexed like the deck's grid.
using Field = std::vector<std::uint32_t>;

// Breadth-first search outwards from all targets at once, with the same moves people make.
Field distanceField(const Grid& grid, const std::vector<std::size_t>& targets);

// Stair cells of `here` that continue on the deck `next` and lead on from there.
std::vector<std::size_t> stairTargets(const Grid& here, const Grid& next, const Field& nextField);

// Every direction that brings cell i one step nearer its target, best first: `prefer` if it
// does, then straight ones before diagonal ones, `rot` choosing which comes first. Returns how
// many it wrote to `dirs`; none at the target.
int downhillSteps(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot,
                  std::array<int, 8>& dirs);

// The best of them; 0 at the target.
int downhill(const Grid& grid, const Field& field, std::size_t i, int prefer, int rot);

} // namespace gen3dl
