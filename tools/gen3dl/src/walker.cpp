#include "walker.hpp"

#include <algorithm>

namespace gen3dl {
namespace {

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

// Seconds before a person starts to move: crew react at once, some passengers take minutes.
int reactionSeconds(std::uint8_t attribute, Rng& rng) {
    if (attribute == kCrew) {
        return rng.range(0, 5);
    }
    return rng.percent(10) ? rng.range(30, 120) : rng.range(3, 30);
}

// Seconds spent at a stair: waiting for everyone who got there earlier (about one person per
// second per stair cell), capped at a few minutes, plus the climb itself.
int stairSeconds(std::uint32_t earlier, Rng& rng) {
    return static_cast<int>(std::min<std::uint32_t>(earlier, 240)) + rng.range(3, 6);
}

} // namespace

void Walker::walk(const Person& p, std::uint64_t seed) {
    Rng rng(seed);
    start(p);
    speed_ = speedFor(p.attribute, vmax_, rng);
    rot_ = rng.range(0, 7);
    moves_.add(0, static_cast<std::uint64_t>(reactionSeconds(p.attribute, rng) * vmax_) +
                      rng.below(static_cast<std::uint64_t>(vmax_)));
    while (true) {
        crossDeck(rng);
        if (z_ == w_.exitDeck) {
            break;
        }
        takeStairs(rng);
    }
    moves_.end();
}

void Walker::start(const Person& p) {
    z_ = p.z;
    cell_ = w_.deck(z_).index(p.x, p.y);
    last_ = p.heading;
    credit_ = 0;
}

void Walker::crossDeck(Rng& rng) {
    const Grid& g = w_.deck(z_);
    const Field& f = w_.field(z_);
    while (f[cell_] != 0) {
        const int d = downhill(g, f, cell_, last_, rot_);
        const std::size_t next = g.neighbour(cell_, d);
        if (w_.isDoorway(z_, next) && rng.percent(30)) {
            moves_.add(0, static_cast<std::uint64_t>(rng.range(1, vmax_))); // let someone pass
        }
        pace();
        moves_.add(d);
        cell_ = next;
        last_ = d;
    }
}

// Slower people stand still for some steps: `speed_` moves in every `vmax_` steps.
void Walker::pace() {
    credit_ += speed_;
    std::uint64_t idle = 0;
    while (credit_ < vmax_) {
        ++idle;
        credit_ += speed_;
    }
    credit_ -= vmax_;
    moves_.add(0, idle);
}

void Walker::takeStairs(Rng& rng) {
    const int next = w_.nextDeck(z_);
    const std::uint32_t earlier = queues_.join(z_, cell_);
    moves_.add(0, static_cast<std::uint64_t>(stairSeconds(earlier, rng) * vmax_) +
                      rng.below(static_cast<std::uint64_t>(vmax_)));
    const Grid& here = w_.deck(z_);
    const Grid& there = w_.deck(next);
    int d = downhill(there, w_.field(next), cell_, last_, rot_);
    if (d != 0 && !here.canMove(cell_, d)) {
        d = 0; // step off the stair only where the move is fine on both decks
    }
    moves_.changeDeck(next > z_ ? 'U' : 'D', d);
    cell_ = there.neighbour(cell_, d);
    z_ = next;
    last_ = d != 0 ? d : last_;
}

} // namespace gen3dl
