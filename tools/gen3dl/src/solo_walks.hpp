#pragma once

#include "encoders.hpp"
#include "options.hpp"
#include "output.hpp"
#include "persons.hpp"
#include "rng.hpp"
#include "world.hpp"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace gen3dl {

// How many persons have already gone up or down from each stair cell; later ones queue longer.
class StairQueues {
public:
    std::uint32_t join(int deck, std::size_t cell) {
        return used_[(static_cast<std::uint64_t>(deck) << 40) | cell]++;
    }

private:
    std::unordered_map<std::uint64_t, std::uint32_t> used_;
};

// The move list of one person who walks on its own, as if nobody else were about, except for a
// wait at each stair that grows with the number of persons who took that stair cell before:
// reaction time, then the shortest way across each deck to the stairs, queueing and climbing,
// and finally across the exit deck to an exit. Persons may stand on one cell together.
class SoloWalker {
public:
    SoloWalker(const World& world, int vmax, StairQueues& queues)
        : w_(world), vmax_(vmax), queues_(queues) {}

    void walk(const Person& p, std::uint64_t seed, MoveText& moves);

private:
    void crossDeck(Rng& rng, MoveText& moves);
    void takeStairs(Rng& rng, MoveText& moves);

    const World& w_;
    int vmax_;
    StairQueues& queues_;

    int z_ = 0;
    std::size_t cell_ = 0;
    int last_ = 0;  // direction of the last step; people keep going straight when they can
    int rot_ = 0;   // personal tie-break between equally short steps
    int speed_ = 1; // cells per second, at most vmax
    int credit_ = 0;
};

// Walks the persons one after another, each on its own, and writes each move list as soon as it
// is known, so memory stays small however large the file. Stops once a write has failed.
void writeSoloWalks(Output& out, const World& world, const Options& opts,
                    const std::vector<Person>& persons);

} // namespace gen3dl
