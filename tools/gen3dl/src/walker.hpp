#pragma once

#include "encoders.hpp"
#include "persons.hpp"
#include "rng.hpp"
#include "world.hpp"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace gen3dl {

// How many people have already gone up or down from each stair cell; later ones queue longer.
class StairQueues {
public:
    std::uint32_t join(int deck, std::size_t cell) {
        return used_[(static_cast<std::uint64_t>(deck) << 40) | cell]++;
    }

private:
    std::unordered_map<std::uint64_t, std::uint32_t> used_;
};

// Writes the move list of one person: reaction time, then the shortest way across each deck to
// the stairs, queueing and climbing, and finally across the exit deck to an exit.
class Walker {
public:
    Walker(const World& world, int vmax, MoveEncoder& moves, StairQueues& queues)
        : w_(world), vmax_(vmax), moves_(moves), queues_(queues) {}

    void walk(const Person& p, std::uint64_t seed);

private:
    void start(const Person& p);
    void crossDeck(Rng& rng);
    void takeStairs(Rng& rng);
    void pace();

    const World& w_;
    int vmax_;
    MoveEncoder& moves_;
    StairQueues& queues_;

    int z_ = 0;
    std::size_t cell_ = 0;
    int last_ = 0;  // direction of the last step; people keep going straight when they can
    int rot_ = 0;   // personal tie-break between equally short steps
    int speed_ = 1; // cells per second, at most vmax
    int credit_ = 0;
};

} // namespace gen3dl
