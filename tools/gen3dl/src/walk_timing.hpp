#pragma once

#include "rng.hpp"
#include "world.hpp"

#include <cstddef>
#include <cstdint>

namespace gen3dl {

// How long persons take, the same in both crowding models: the draws come from each person's own
// random stream, in the order the models ask for them.

// Cells per second, at most vmax: crew walk at full speed, persons of reduced mobility slowest.
int speedFor(std::uint8_t attribute, int vmax, Rng& rng);

// Time steps before a person starts to move: crew react at once, some passengers take minutes.
std::uint64_t reactionSteps(std::uint8_t attribute, int vmax, Rng& rng);

// Time steps spent climbing a stair, after `waitSeconds` in a queue for it.
std::uint64_t climbSteps(std::uint64_t waitSeconds, int vmax, Rng& rng);

// The next two are asked before every move of every person, so they are inline.

// Time steps a person stands in front of a doorway it is about to enter, to let someone pass;
// none if `next` is not a doorway.
inline std::uint64_t doorwayPause(const World& world, int z, std::size_t next, int vmax, Rng& rng) {
    if (world.isDoorway(z, next) && rng.percent(30)) {
        return static_cast<std::uint64_t>(rng.range(1, vmax));
    }
    return 0;
}

// Slower persons stand still for some steps: `speed` moves in every `vmax` steps. Returns the
// steps to stand before the next move; `credit` carries the remainder from move to move.
inline std::uint64_t paceSteps(int speed, int vmax, int& credit) {
    std::uint64_t idle = 0;
    credit += speed;
    while (credit < vmax) {
        ++idle;
        credit += speed;
    }
    credit -= vmax;
    return idle;
}

} // namespace gen3dl
