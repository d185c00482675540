#pragma once

#include "encoders.hpp"
#include "persons.hpp"
#include "world.hpp"

#include <cstdint>
#include <vector>

namespace gen3dl {

// Walks the whole crowd out together, one time step after another, so that no two persons ever
// stand on one cell: a person whose next cell is taken stands (direction 0) until it is free,
// or takes another step that is just as short. Each person waits a reaction time, walks the
// shortest way to a stair, climbs it and changes deck with a U/D entry, and finally walks to
// an exit, where its list ends and its cell is free again.
//
// Every deck has one distance field that all its persons follow, so a person only ever waits for
// someone nearer the way out (on its deck, or on a deck nearer the exit deck): nobody waits for
// anybody who waits for them, and the crowd never locks up.
//
// Returns each person's move list, in the order of `persons`.
std::vector<MoveText> evacuate(const World& world, const std::vector<Person>& persons,
                               const Options& opts);

} // namespace gen3dl
