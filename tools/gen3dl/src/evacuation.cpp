#include "evacuation.hpp"

#include "rng.hpp"
#include "routing.hpp"
#include "walk_timing.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace gen3dl {
namespace {

constexpr std::uint32_t kNobody = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

// The longest any person stays put on a timer: a reaction of 120 s, a pause at a doorway and
// the pace of the slowest, in steps of one second.
constexpr std::uint64_t kLongestTimerSeconds = 124;

enum class Phase : std::uint8_t { Walking, Climbing, Leaving, Gone };

struct Walker {
    explicit Walker(std::uint64_t seed) : rng(seed) {}

    Rng rng;
    std::uint64_t wake = kNever; // the step at which it next moves, climbs or leaves
    std::uint64_t written = 0;   // entries of its list so far
    std::uint32_t cell = 0;
    std::uint32_t waiting = kNobody;     // the first person waiting for this one to move on
    std::uint32_t nextWaiting = kNobody; // the next person waiting for the same one
    std::uint8_t z = 0;
    std::uint8_t last = 0;  // direction of the last step; people keep going straight when they can
    std::uint8_t rot = 0;   // personal tie-break between equally short steps
    std::uint8_t next = 0;  // the best next step while walking, known from where it stands
    std::int32_t speed = 1; // cells per second, at most vmax
    std::int32_t credit = 0;
    Phase phase = Phase::Walking;
    bool resolving = false;
};

// The persons due at each of the next steps; a person is due at one step at most.
class TimerWheel {
public:
    explicit TimerWheel(std::uint64_t span) : slots_(std::bit_ceil(span)) {}

    void add(std::uint64_t step, std::uint32_t person) {
        slots_[step & (slots_.size() - 1)].push_back(person);
        ++count_;
    }
    std::vector<std::uint32_t>& slot(std::uint64_t step) {
        return slots_[step & (slots_.size() - 1)];
    }
    void clear(std::vector<std::uint32_t>& slot) {
        count_ -= slot.size();
        slot.clear();
    }
    bool empty() const { return count_ == 0; }

private:
    std::vector<std::vector<std::uint32_t>> slots_;
    std::uint64_t count_ = 0;
};

// A cell a person may go to next: on its deck, or from a stair on the next deck.
struct Target {
    int z = 0;
    std::size_t cell = 0;
    int dir = 0;
    bool changesDeck = false;
};

// The way out of the first target choice and up to eight others that are just as short.
using Targets = std::array<Target, 9>;

class Crowd {
public:
    Crowd(const World& w, const std::vector<Person>& persons, const Options& o);

    void run();
    // In the order of the persons given.
    std::vector<MoveText> takeLists();

private:
    void resolve(std::uint32_t first, std::uint64_t s);
    Target bestTarget(const Walker& w) const;
    int targets(const Walker& w, Targets& out) const;
    void act(std::uint32_t p, const Target& best, std::uint64_t s);
    void moveTo(std::uint32_t p, const Target& t, std::uint64_t s);
    void arrive(std::uint32_t p, std::uint64_t s);
    void leave(std::uint32_t p, std::uint64_t s);
    void vacate(std::uint32_t p, std::uint64_t s);
    void waitFor(std::uint32_t p, std::uint32_t ahead);
    void findNextStep(Walker& w) const;
    std::uint64_t stepsBeforeNextMove(Walker& w);
    void schedule(std::uint32_t p, std::uint64_t step);

    std::uint32_t& owner(int z, std::size_t cell) { return owners_[at(z)][cell]; }
    bool due(std::uint32_t p, std::uint64_t s) const { return walkers_[p].wake == s; }

    const World& w_;
    int vmax_;
    std::vector<std::uint32_t> order_; // the person given for each walker
    std::vector<Walker> walkers_;
    std::vector<MoveText> lists_;
    std::vector<std::vector<std::uint32_t>> owners_; // per deck: who stands on each cell
    TimerWheel wheel_;
    std::vector<std::uint32_t> stack_;
    std::uint64_t remaining_ = 0;
};

Crowd::Crowd(const World& w, const std::vector<Person>& persons, const Options& o)
    : w_(w), vmax_(o.vmax), order_(persons.size()), lists_(persons.size(), MoveText(o.shortestRun)),
      wheel_(kLongestTimerSeconds * static_cast<std::uint64_t>(o.vmax) + 2) {
    for (const Grid& g : w.decks) {
        owners_.emplace_back(g.size(), kNobody);
    }
    // Persons who start near each other are kept near each other in memory: those who queue
    // together are then looked at together.
    std::iota(order_.begin(), order_.end(), std::uint32_t{0});
    std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
        const Person& pa = persons[a];
        const Person& pb = persons[b];
        return std::tie(pa.z, pa.y, pa.x) < std::tie(pb.z, pb.y, pb.x);
    });
    walkers_.reserve(persons.size());
    for (std::size_t k = 0; k < persons.size(); ++k) {
        const Person& p = persons[order_[k]];
        Walker& walker = walkers_.emplace_back(deriveSeed(o.seed, 0x10000 + order_[k]));
        walker.z = p.z;
        walker.cell = static_cast<std::uint32_t>(w.deck(p.z).index(p.x, p.y));
        walker.last = p.heading;
        walker.speed = speedFor(p.attribute, vmax_, walker.rng);
        walker.rot = static_cast<std::uint8_t>(walker.rng.range(0, 7));
        const std::uint64_t reaction = reactionSteps(p.attribute, vmax_, walker.rng);
        const auto p32 = static_cast<std::uint32_t>(k);
        owner(walker.z, walker.cell) = p32;
        findNextStep(walker);
        schedule(p32, reaction + stepsBeforeNextMove(walker));
    }
    remaining_ = persons.size();
}

std::vector<MoveText> Crowd::takeLists() {
    std::vector<MoveText> lists(lists_.size());
    for (std::size_t k = 0; k < lists_.size(); ++k) {
        lists[order_[k]] = std::move(lists_[k]);
    }
    return lists;
}

void Crowd::run() {
    for (std::uint64_t s = 0; remaining_ > 0; ++s) {
        std::vector<std::uint32_t>& dueNow = wheel_.slot(s);
        // Persons woken during the step join its list, and go in the same step.
        for (std::size_t k = 0; k < dueNow.size(); ++k) {
            if (due(dueNow[k], s)) {
                resolve(dueNow[k], s);
            }
        }
        wheel_.clear(dueNow);
        if (remaining_ > 0 && wheel_.empty()) {
            throw std::logic_error("persons wait for each other in a ring");
        }
    }
}

// A person whose way is taken by someone due at the same step lets that one go first, so a
// queue moves up as one when its head moves on.
void Crowd::resolve(std::uint32_t first, std::uint64_t s) {
    walkers_[first].resolving = true;
    stack_.push_back(first);
    while (!stack_.empty()) {
        const std::uint32_t p = stack_.back();
        if (walkers_[p].phase == Phase::Leaving) {
            leave(p, s);
        } else {
            const Target best = bestTarget(walkers_[p]);
            const std::uint32_t ahead = owner(best.z, best.cell);
            if (ahead != kNobody && due(ahead, s) && !walkers_[ahead].resolving) {
                walkers_[ahead].resolving = true;
                stack_.push_back(ahead);
                continue;
            }
            act(p, best, s);
        }
        walkers_[p].resolving = false;
        stack_.pop_back();
    }
}

Target Crowd::bestTarget(const Walker& w) const {
    if (w.phase == Phase::Walking) {
        const Grid& g = w_.deck(w.z);
        return {w.z, g.neighbour(w.cell, w.next), w.next, false};
    }
    Targets ts;
    targets(w, ts);
    return ts[0];
}

int Crowd::targets(const Walker& w, Targets& out) const {
    std::array<int, 8> dirs{};
    if (w.phase == Phase::Walking) {
        const int count = downhillSteps(w_.deck(w.z), w_.field(w.z), w.cell, w.last, w.rot, dirs);
        for (int k = 0; k < count; ++k) {
            const int d = dirs[static_cast<std::size_t>(k)];
            out[static_cast<std::size_t>(k)] = {w.z, w_.deck(w.z).neighbour(w.cell, d), d, false};
        }
        return count;
    }
    // Off a stair onto the next deck, only where the step is fine on both decks; straight up or
    // down when no such step is free.
    const int next = w_.nextDeck(w.z);
    const Grid& here = w_.deck(w.z);
    const Grid& there = w_.deck(next);
    const int count = downhillSteps(there, w_.field(next), w.cell, w.last, w.rot, dirs);
    int n = 0;
    for (int k = 0; k < count; ++k) {
        const int d = dirs[static_cast<std::size_t>(k)];
        if (here.canMove(w.cell, d)) {
            out[static_cast<std::size_t>(n++)] = {next, there.neighbour(w.cell, d), d, true};
        }
    }
    out[static_cast<std::size_t>(n++)] = {next, w.cell, 0, true};
    return n;
}

// Takes the best target, or else another free one; waits for whoever stands on the best one
// when none is free.
void Crowd::act(std::uint32_t p, const Target& best, std::uint64_t s) {
    const std::uint32_t ahead = owner(best.z, best.cell);
    if (ahead == kNobody) {
        moveTo(p, best, s);
        return;
    }
    Targets ts;
    const int count = targets(walkers_[p], ts);
    for (int k = 1; k < count; ++k) {
        const Target& t = ts[static_cast<std::size_t>(k)];
        if (owner(t.z, t.cell) == kNobody) {
            moveTo(p, t, s);
            return;
        }
    }
    waitFor(p, ahead);
}

void Crowd::moveTo(std::uint32_t p, const Target& t, std::uint64_t s) {
    Walker& w = walkers_[p];
    MoveText& list = lists_[p];
    list.add(0, s - w.written);
    if (t.changesDeck) {
        list.changeDeck(t.z > w.z ? 'U' : 'D', t.dir);
    } else {
        list.add(t.dir);
    }
    w.written = s + 1;
    vacate(p, s);
    owner(t.z, t.cell) = p;
    w.z = static_cast<std::uint8_t>(t.z);
    w.cell = static_cast<std::uint32_t>(t.cell);
    if (t.dir != 0) {
        w.last = static_cast<std::uint8_t>(t.dir);
    }
    arrive(p, s);
}

// At an exit the person leaves at the next step; at a stair it climbs for some seconds.
void Crowd::arrive(std::uint32_t p, std::uint64_t s) {
    Walker& w = walkers_[p];
    if (w_.field(w.z)[w.cell] != 0) {
        w.phase = Phase::Walking;
        findNextStep(w);
        schedule(p, s + 1 + stepsBeforeNextMove(w));
    } else if (w.z == w_.exitDeck) {
        w.phase = Phase::Leaving;
        schedule(p, s + 1);
    } else {
        w.phase = Phase::Climbing;
        schedule(p, s + 1 + climbSteps(0, vmax_, w.rng));
    }
}

// The list ends: the person stands on the exit at this step and is gone at the next, so its
// cell is free for a move made now.
void Crowd::leave(std::uint32_t p, std::uint64_t s) {
    Walker& w = walkers_[p];
    lists_[p].add(0, s - w.written);
    lists_[p].end();
    lists_[p].shrinkToFit();
    vacate(p, s);
    w.phase = Phase::Gone;
    w.wake = kNever;
    --remaining_;
}

// Frees the person's cell and wakes whoever waits for it, to go in this same step.
void Crowd::vacate(std::uint32_t p, std::uint64_t s) {
    Walker& w = walkers_[p];
    owner(w.z, w.cell) = kNobody;
    for (std::uint32_t f = w.waiting; f != kNobody;) {
        const std::uint32_t next = walkers_[f].nextWaiting;
        walkers_[f].nextWaiting = kNobody;
        schedule(f, s);
        f = next;
    }
    w.waiting = kNobody;
}

void Crowd::waitFor(std::uint32_t p, std::uint32_t ahead) {
    Walker& w = walkers_[p];
    w.wake = kNever;
    w.nextWaiting = walkers_[ahead].waiting;
    walkers_[ahead].waiting = p;
}

// Steps a walking person stands before its next move: a pause in front of a doorway to let
// someone pass, and the pace of slower persons, who make `speed` moves in every `vmax` steps.
std::uint64_t Crowd::stepsBeforeNextMove(Walker& w) {
    const std::size_t next = w_.deck(w.z).neighbour(w.cell, w.next);
    const std::uint64_t pause = doorwayPause(w_, w.z, next, vmax_, w.rng);
    return pause + paceSteps(w.speed, vmax_, w.credit);
}

void Crowd::findNextStep(Walker& w) const {
    w.next =
        static_cast<std::uint8_t>(downhill(w_.deck(w.z), w_.field(w.z), w.cell, w.last, w.rot));
}

void Crowd::schedule(std::uint32_t p, std::uint64_t step) {
    walkers_[p].wake = step;
    wheel_.add(step, p);
}

} // namespace

std::vector<MoveText> evacuate(const World& world, const std::vector<Person>& persons,
                               const Options& opts) {
    Crowd crowd(world, persons, opts);
    crowd.run();
    return crowd.takeLists();
}

} // namespace gen3dl
