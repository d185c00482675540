#include "walk_timing.hpp"

#include "persons.hpp"

#include <algorithm>

namespace gen3dl {

int speedFor(std::uint8_t attribute, int vmax, Rng& rng) {
    const auto scaled = [vmax](int percent) { return std::max(1, vmax * percent / 100); };
    switch (attribute) {
    case kCrew:
        return vmax;
    case kReducedMobility:
        return rng.range(scaled(30), scaled(50));
    case kFamily:
        return rng.range(scaled(50), scaled(80));
    default:
        return rng.range(scaled(60), vmax);
    }
}

std::uint64_t reactionSteps(std::uint8_t attribute, int vmax, Rng& rng) {
    int seconds = 0;
    if (attribute == kCrew) {
        seconds = rng.range(0, 5);
    } else {
        seconds = rng.percent(10) ? rng.range(30, 120) : rng.range(3, 30);
    }
    const auto steps = static_cast<std::uint64_t>(seconds * vmax);
    return steps + rng.below(static_cast<std::uint64_t>(vmax));
}

std::uint64_t climbSteps(std::uint64_t waitSeconds, int vmax, Rng& rng) {
    const auto seconds = waitSeconds + static_cast<std::uint64_t>(rng.range(3, 6));
    const auto perSecond = static_cast<std::uint64_t>(vmax);
    return seconds * perSecond + rng.below(perSecond);
}

} // namespace gen3dl
