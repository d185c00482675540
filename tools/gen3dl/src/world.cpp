#include "world.hpp"

#include "deck_builder.hpp"
#include "features.hpp"
#include "plan.hpp"
#include "rng.hpp"

#include <utility>

namespace gen3dl {
namespace {

Grid buildDeck(const Plan& plan, int z, std::uint64_t seed, std::vector<std::size_t>& exits) {
    Rng rng(deriveSeed(seed, 0x1000 + static_cast<std::uint64_t>(z)));
    DeckLayout layout = buildStructure(plan, z, rng);
    Grid& grid = layout.grid;
    if (z == plan.exitDeck) {
        exits = addExits(plan, grid);
    }
    stampStairs(plan, z, grid);
    furnish(plan, z, layout, grid, rng);
    if (z == 0 || rng.percent(50)) {
        addRedZone(plan, grid, rng);
    }
    return std::move(layout.grid);
}

// A gap in a wall: walls on two opposite sides, open floor through it with room beyond (a cell
// of a one-cell-wide corridor is not a doorway).
bool looksLikeDoorway(const Grid& g, std::size_t i) {
    const auto open = [&](int d) { return isWalkable(g[g.neighbour(i, d)]); };
    if (!isWalkable(g[i])) {
        return false;
    }
    if (!open(7) && !open(3) && open(1) && open(5)) {
        return (open(8) || open(2)) && (open(6) || open(4));
    }
    if (!open(1) && !open(5) && open(7) && open(3)) {
        return (open(8) || open(6)) && (open(2) || open(4));
    }
    return false;
}

// Looked up once per cell here rather than at every step of every walk.
std::vector<bool> findDoorways(const Grid& g) {
    std::vector<bool> doorways(g.size(), false);
    for (int y = 0; y < g.ymax(); ++y) {
        for (int x = 0; x < g.xmax(); ++x) {
            const std::size_t i = g.index(x, y);
            doorways[i] = looksLikeDoorway(g, i);
        }
    }
    return doorways;
}

// Fields are built from the exit deck outwards, so a stair only counts as a way out when the
// deck it leads to has a way on from its landing.
void buildFields(World& w, const std::vector<std::size_t>& exits) {
    w.fields.resize(at(w.zmax));
    w.fields[at(w.exitDeck)] = distanceField(w.deck(w.exitDeck), exits);
    for (int step = 1; step < w.zmax; ++step) {
        for (int z : {w.exitDeck - step, w.exitDeck + step}) {
            if (z < 0 || z >= w.zmax) {
                continue;
            }
            const int n = w.nextDeck(z);
            const auto targets = stairTargets(w.deck(z), w.deck(n), w.field(n));
            w.fields[at(z)] = distanceField(w.deck(z), targets);
        }
    }
}

} // namespace

World buildWorld(const Options& opts) {
    const Plan plan = makePlan(opts);
    World w;
    w.xmax = plan.xmax;
    w.ymax = plan.ymax;
    w.zmax = plan.zmax;
    w.exitDeck = plan.exitDeck;
    std::vector<std::size_t> exits;
    for (int z = 0; z < plan.zmax; ++z) {
        w.decks.push_back(buildDeck(plan, z, opts.seed, exits));
        w.captions.push_back(deckCaption(plan, z));
        w.doorways.push_back(findDoorways(w.decks.back()));
    }
    buildFields(w, exits);
    return w;
}

} // namespace gen3dl
