#include "plan.hpp"

#include "hull.hpp"

#include <algorithm>
#include <stdexcept>

namespace gen3dl {
namespace {

int exitDeckFor(Kind kind, int zmax) {
    if (kind == Kind::Building) {
        return 0;
    }
    // A ship musters on the boat deck, which has one open deck above it when there is room.
    return zmax >= 4 ? zmax - 2 : zmax - 1;
}

Role shipRole(int z, int zmax, int exitDeck) {
    if (z == exitDeck) {
        return Role::Muster;
    }
    if (z > exitDeck) {
        return Role::SunDeck;
    }
    const bool carDeck = (zmax >= 3 && z == 0) || (zmax >= 8 && z == 1);
    return carDeck ? Role::CarDeck : Role::Cabins;
}

std::vector<Role> makeRoles(Kind kind, int zmax, int exitDeck) {
    std::vector<Role> roles;
    for (int z = 0; z < zmax; ++z) {
        if (kind == Kind::Building) {
            roles.push_back(z == exitDeck ? Role::Lobby : Role::Offices);
        } else {
            roles.push_back(shipRole(z, zmax, exitDeck));
        }
    }
    return roles;
}

// Number of side corridors between the main corridor and the hull on one side, as many as fit
// while every cabin row stays at least minDepth deep. `rows` counts the cells from the hull to
// the main corridor; each side corridor brings two more cabin rows and three more walls.
int sideCorridorCount(int rows, int corridor, int minDepth) {
    int k = 0;
    while ((rows - 1 - (k + 1) * (corridor + 3)) / (2 * k + 3) >= minDepth) {
        ++k;
    }
    return k;
}

// Distances from the hull to the first row of each side corridor on one side. The cabin rows
// share the space evenly, so no row of cabins is left without a corridor.
std::vector<int> sideCorridorOffsets(int rows, int corridor, int minDepth) {
    const int k = sideCorridorCount(rows, corridor, minDepth);
    const int bands = 2 * k + 1;
    const int total = rows - 1 - k * (corridor + 3);
    const auto depth = [&](int i) { return total / bands + (i < total % bands ? 1 : 0); };
    std::vector<int> offsets;
    int off = depth(0) + 1;
    for (int j = 1; j <= k; ++j) {
        offsets.push_back(off);
        off += corridor + 1 + depth(2 * j - 1) + 1 + depth(2 * j) + 1;
    }
    return offsets;
}

// Lengthwise corridors: the main one in the middle and side corridors between it and the hull.
std::vector<int> lengthwiseCorridors(const Plan& p) {
    std::vector<int> rows{p.mainRow};
    const int north = p.mainRow - 1;
    const int south = p.ymax - 1 - p.mainRow - p.corridor;
    for (int off : sideCorridorOffsets(north, p.corridor, p.roomDepth)) {
        rows.push_back(1 + off);
    }
    for (int off : sideCorridorOffsets(south, p.corridor, p.roomDepth)) {
        rows.push_back(p.ymax - 1 - off - p.corridor);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> crossCorridors(const Plan& p) {
    const int spacing = std::clamp(p.xmax / 5, 12, 40);
    const int first = std::min(spacing / 2, p.xmax / 2 - 1);
    std::vector<int> cols;
    for (int x = first; x + p.corridor - 1 <= p.xmax - 3; x += spacing) {
        if (isInterior(p.hull, x, p.mainRow)) {
            cols.push_back(x);
        }
    }
    return cols;
}

bool allInterior(const Grid& hull, const Rect& r) {
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) {
            if (!isInterior(hull, x, y)) {
                return false;
            }
        }
    }
    return true;
}

// Stair area in a corner where cross corridor k meets the main corridor: east or west of the
// cross corridor, north or south of the main one. It takes the corner cells of the block there,
// so it opens onto both corridors.
bool stairSlot(const Plan& p, std::size_t k, bool north, bool east, int w, int h, Rect& out) {
    const int cx = p.crossCols[k];
    const int x0 = east ? cx + p.corridor : cx - w;
    const int lo = k > 0 ? p.crossCols[k - 1] + p.corridor + 1 : 1;
    const int hi = k + 1 < p.crossCols.size() ? p.crossCols[k + 1] - 2 : p.xmax - 2;
    const int y0 = north ? p.mainRow - h : p.mainRow + p.corridor;
    out = {x0, y0, x0 + w - 1, y0 + h - 1};
    return out.x0 >= lo && out.x1 <= hi && allInterior(p.hull, out);
}

// Main stair towers run through every deck; secondary stairs link only two neighbouring decks.
std::vector<Stairwell> regularStairs(const Plan& p, int w, int h) {
    std::vector<Stairwell> stairs;
    int pair = 0;
    for (std::size_t k = 0; k < p.crossCols.size(); ++k) {
        Rect r;
        if (k % 2 == 0 && stairSlot(p, k, true, true, w, h, r)) {
            stairs.push_back({r, code::kGrey, 0, p.zmax - 1});
        } else if (k % 2 == 1 && stairSlot(p, k, false, true, w, h, r)) {
            const int low = pair++ % (p.zmax - 1);
            stairs.push_back({r, code::kBlue, low, low + 1});
        }
    }
    return stairs;
}

// On a short deck the usual corners may be cut off by the bow: take any corner that fits.
bool anyTowerSlot(const Plan& p, int w, int h, Rect& out) {
    for (std::size_t k = 0; k < p.crossCols.size(); ++k) {
        for (int variant = 0; variant < 4; ++variant) {
            if (stairSlot(p, k, variant < 2, variant % 2 == 0, w, h, out)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<Stairwell> makeStairs(const Plan& p) {
    if (p.zmax < 2) {
        return {};
    }
    const int w = std::min(p.ymax < 12 ? 2 : (p.ymax < 30 ? 3 : 4), std::max(2, p.xmax / 8));
    const int h = p.ymax < 12 ? 1 : (p.ymax < 30 ? 2 : 3);
    std::vector<Stairwell> stairs = regularStairs(p, w, h);
    const bool anyTower = std::any_of(stairs.begin(), stairs.end(),
                                      [](const Stairwell& s) { return s.code == code::kGrey; });
    Rect r;
    if (!anyTower && anyTowerSlot(p, w, h, r)) {
        stairs.push_back({r, code::kGrey, 0, p.zmax - 1});
    } else if (!anyTower) {
        throw std::invalid_argument("deck is too small to hold a stair; use a larger xmax/ymax");
    }
    return stairs;
}

} // namespace

Plan makePlan(const Options& opts) {
    Plan p;
    p.kind = opts.kind;
    p.xmax = opts.xmax;
    p.ymax = opts.ymax;
    p.zmax = opts.decks;
    p.exitDeck = exitDeckFor(p.kind, p.zmax);
    const int inner = p.ymax - 2;
    p.corridor = inner < 12 ? 1 : (inner < 60 ? 2 : 3);
    p.roomDepth = inner >= 20 ? 4 : 3;
    p.mainRow = (p.ymax - p.corridor) / 2;
    p.hull = makeHull(p.kind, p.xmax, p.ymax);
    p.longRows = lengthwiseCorridors(p);
    p.crossCols = crossCorridors(p);
    p.roles = makeRoles(p.kind, p.zmax, p.exitDeck);
    p.stairs = makeStairs(p);
    return p;
}

std::string deckCaption(const Plan& plan, int deck) {
    const std::string n = std::to_string(plan.kind == Kind::Building ? deck : deck + 1);
    switch (plan.roles[at(deck)]) {
    case Role::CarDeck:
        return "Deck " + n + " - Car deck";
    case Role::Cabins:
        return "Deck " + n + " - Cabins";
    case Role::Muster:
        return "Deck " + n + " - Boat deck, muster stations";
    case Role::SunDeck:
        return "Deck " + n + " - Sun deck";
    case Role::Offices:
        return "Floor " + n + " - Offices";
    case Role::Lobby:
        return "Floor " + n + " - Lobby and exits";
    }
    return "Deck " + n;
}

} // namespace gen3dl
