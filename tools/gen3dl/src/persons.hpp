#pragma once

#include "options.hpp"
#include "world.hpp"

#include <cstdint>
#include <vector>

namespace gen3dl {

// Attribute values: what kind of person this is; it sets walking speed and reaction time.
enum Attribute : std::uint8_t { kPassenger = 0, kCrew = 1, kReducedMobility = 2, kFamily = 3 };

struct Person {
    std::uint16_t x;
    std::uint16_t y;
    std::uint8_t z;
    std::uint8_t heading;   // 1..8, the direction of the first step
    std::uint8_t attribute; // an Attribute
};

// Places persons on free floor from which an exit can be reached. With Crowding::Queue one on a
// cell; throws std::invalid_argument if there is no such floor or, for Crowding::Queue, too little
// of it for `count` persons. With Crowding::Shared on distinct cells if they take at most half
// of them (until a deck is full), otherwise on shared ones.
std::vector<Person> placePersons(const World& world, long count, std::uint64_t seed,
                                 Crowding crowding);

} // namespace gen3dl
