#include "solo_walks.hpp"

#include "routing.hpp"
#include "walk_timing.hpp"

#include <algorithm>

namespace gen3dl {
namespace {

// A queue at a stair is counted as about one person per second per stair cell, and capped at a
// few minutes.
constexpr std::uint32_t kLongestStairWaitSeconds = 240;

} // namespace

void SoloWalker::walk(const Person& p, std::uint64_t seed, MoveText& moves) {
    Rng rng(seed);
    z_ = p.z;
    cell_ = w_.deck(z_).index(p.x, p.y);
    last_ = p.heading;
    credit_ = 0;
    speed_ = speedFor(p.attribute, vmax_, rng);
    rot_ = rng.range(0, 7);
    moves.add(0, reactionSteps(p.attribute, vmax_, rng));
    while (true) {
        crossDeck(rng, moves);
        if (z_ == w_.exitDeck) {
            break;
        }
        takeStairs(rng, moves);
    }
    moves.end();
}

void SoloWalker::crossDeck(Rng& rng, MoveText& moves) {
    const Grid& g = w_.deck(z_);
    const Field& f = w_.field(z_);
    while (f[cell_] != 0) {
        const int d = downhill(g, f, cell_, last_, rot_);
        const std::size_t next = g.neighbour(cell_, d);
        moves.add(0, doorwayPause(w_, z_, next, vmax_, rng));
        moves.add(0, paceSteps(speed_, vmax_, credit_));
        moves.add(d);
        cell_ = next;
        last_ = d;
    }
}

void SoloWalker::takeStairs(Rng& rng, MoveText& moves) {
    const int next = w_.nextDeck(z_);
    const std::uint32_t earlier = queues_.join(z_, cell_);
    moves.add(0, climbSteps(std::min(earlier, kLongestStairWaitSeconds), vmax_, rng));
    const Grid& here = w_.deck(z_);
    const Grid& there = w_.deck(next);
    int d = downhill(there, w_.field(next), cell_, last_, rot_);
    if (d != 0 && !here.canMove(cell_, d)) {
        d = 0; // step off the stair only where the move is fine on both decks
    }
    moves.changeDeck(next > z_ ? 'U' : 'D', d);
    cell_ = there.neighbour(cell_, d);
    z_ = next;
    last_ = d != 0 ? d : last_;
}

void writeSoloWalks(Output& out, const World& world, const Options& opts,
                    const std::vector<Person>& persons) {
    StairQueues queues;
    SoloWalker walker(world, opts.vmax, queues);
    MoveText moves(opts.shortestRun);
    for (std::size_t k = 0; k < persons.size() && !out.failed(); ++k) {
        moves.clear();
        walker.walk(persons[k], deriveSeed(opts.seed, 0x10000 + k), moves);
        out.put(moves.text());
    }
}

} // namespace gen3dl
