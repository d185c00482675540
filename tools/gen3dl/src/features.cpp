#include "features.hpp"

#include "hull.hpp"

#include <algorithm>
#include <utility>
#include <vector>

namespace gen3dl {
namespace {

struct Piece {
    int w;
    int h;
};

void recolourFloor(Grid& g, const Rect& r, char cell) {
    for (int y = std::max(r.y0, 0); y <= std::min(r.y1, g.ymax() - 1); ++y) {
        for (int x = std::max(r.x0, 0); x <= std::min(r.x1, g.xmax() - 1); ++x) {
            if (g.at(x, y) == code::kFree) {
                g.set(x, y, cell);
            }
        }
    }
}

// Colours the free floor of `r` that is connected to (x, y), so an assembly area never leaks
// through a wall into the rooms behind it.
void floodFloor(Grid& g, const Rect& r, int x, int y, char cell) {
    std::vector<std::pair<int, int>> todo{{x, y}};
    while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        if (!r.contains(cx, cy) || !g.inside(cx, cy) || g.at(cx, cy) != code::kFree) {
            continue;
        }
        g.set(cx, cy, cell);
        for (int d = 1; d <= 7; d += 2) {
            todo.push_back({cx + stepOf(d).dx, cy + stepOf(d).dy});
        }
    }
}

// Walks down (or up, with dy = -1) column x from the grid edge to the first hull cell.
int outerWallRow(const Grid& hull, int x, int fromY, int dy) {
    for (int y = fromY; hull.inside(x, y); y += dy) {
        if (hull.at(x, y) != code::kVoid) {
            return y;
        }
    }
    return -1;
}

// An exit in the wall cell (x, y), leading in along (dx, dy); `station` is its assembly area.
void openExit(Grid& g, const Plan& p, int x, int y, int dx, int dy, const Rect& station,
              std::vector<std::size_t>& exits) {
    if (y < 0 || !isInterior(p.hull, x + dx, y + dy)) {
        return;
    }
    g.set(x, y, code::kGreen);
    exits.push_back(g.index(x, y));
    floodFloor(g, station, x + dx, y + dy, code::kGreen);
}

int stationDepth(const Plan& p) {
    return std::clamp((p.ymax - 2) / 8, 1, 4);
}

// Side exits at the ends of the cross corridors.
void sideExits(const Plan& p, Grid& g, std::vector<std::size_t>& exits) {
    const int depth = stationDepth(p);
    // Ship stations spill onto the promenade on either side of the corridor.
    const int margin = p.kind == Kind::Ship ? (p.ymax < 12 ? 1 : 2) : 0;
    for (int cx : p.crossCols) {
        const int x0 = cx - margin;
        const int x1 = cx + p.corridor - 1 + margin;
        for (int x = cx; x < cx + p.corridor; ++x) {
            const int top = outerWallRow(p.hull, x, 0, 1);
            const int bottom = outerWallRow(p.hull, x, p.ymax - 1, -1);
            openExit(g, p, x, top, 0, 1, {x0, top + 1, x1, top + depth}, exits);
            openExit(g, p, x, bottom, 0, -1, {x0, bottom - depth, x1, bottom - 1}, exits);
        }
    }
}

// A building also has doors at both ends of its main corridor.
void endExits(const Plan& p, Grid& g, std::vector<std::size_t>& exits) {
    const int depth = stationDepth(p);
    const int y1 = p.mainRow + p.corridor - 1;
    for (int y = p.mainRow; y <= y1; ++y) {
        openExit(g, p, 0, y, 1, 0, {1, p.mainRow, depth, y1}, exits);
        openExit(g, p, p.xmax - 1, y, -1, 0, {p.xmax - 1 - depth, p.mainRow, p.xmax - 2, y1},
                 exits);
    }
}

// Furniture keeps two free cells to walls and other furniture: the free ring lets people walk
// round it, so it never cuts off part of the deck, and it never blocks a door.
bool clearAround(const Grid& g, int x, int y, const Piece& piece) {
    for (int yy = y - 2; yy <= y + piece.h + 1; ++yy) {
        for (int xx = x - 2; xx <= x + piece.w + 1; ++xx) {
            if (!g.inside(xx, yy) || g.at(xx, yy) != code::kFree) {
                return false;
            }
        }
    }
    return true;
}

bool place(Grid& g, int x, int y, const Piece& piece) {
    if (!clearAround(g, x, y, piece)) {
        return false;
    }
    for (int yy = y; yy < y + piece.h; ++yy) {
        for (int xx = x; xx < x + piece.w; ++xx) {
            g.set(xx, yy, code::kWall);
        }
    }
    return true;
}

// Rows ("lanes") of pieces; each lane takes the large piece with `largePercent` probability.
void placeLanes(Grid& g, const Rect& area, Piece small, Piece large, int largePercent,
                int fillPercent, Rng& rng) {
    int y = area.y0 + 2;
    while (true) {
        const Piece piece = rng.percent(largePercent) ? large : small;
        if (y + piece.h - 1 > area.y1 - 2) {
            break;
        }
        for (int x = area.x0 + 2 + rng.range(0, 1); x + piece.w - 1 <= area.x1 - 2;
             x += piece.w + 2) {
            if (rng.percent(fillPercent)) {
                place(g, x, y, piece);
            }
        }
        y += piece.h + 2;
    }
}

// One big block (engine casing, funnel) somewhere near the middle of the deck.
void placeCasing(const Plan& p, Grid& g, Rng& rng) {
    const Piece casing{std::max(3, p.xmax / 12), std::max(2, p.ymax / 6)};
    const int x = p.xmax / 2 - casing.w / 2 + rng.range(-p.xmax / 8, p.xmax / 8);
    const int y = p.ymax / 2 - casing.h / 2;
    place(g, x, y, casing);
}

} // namespace

std::vector<std::size_t> addExits(const Plan& plan, Grid& grid) {
    std::vector<std::size_t> exits;
    sideExits(plan, grid, exits);
    if (plan.kind == Kind::Building) {
        endExits(plan, grid, exits);
    }
    return exits;
}

void stampStairs(const Plan& plan, int deck, Grid& grid) {
    for (const Stairwell& s : plan.stairs) {
        if (deck < s.lowDeck || deck > s.highDeck) {
            continue;
        }
        for (int y = s.area.y0; y <= s.area.y1; ++y) {
            for (int x = s.area.x0; x <= s.area.x1; ++x) {
                grid.set(x, y, s.code);
            }
        }
    }
}

void furnish(const Plan& plan, int deck, const DeckLayout& layout, Grid& grid, Rng& rng) {
    const Role role = plan.roles[at(deck)];
    if (role == Role::CarDeck || role == Role::SunDeck) {
        placeCasing(plan, grid, rng);
    }
    for (const Rect& area : layout.openDecks) {
        if (role == Role::CarDeck) {
            placeLanes(grid, area, {5, 2}, {10, 3}, 25, 85, rng); // cars and lorries
        } else {
            placeLanes(grid, area, {3, 1}, {2, 2}, 30, 30, rng); // benches, lockers
        }
    }
    for (const Rect& hall : layout.halls) {
        placeLanes(grid, hall, {2, 1}, {2, 2}, 50, 60, rng); // tables
    }
}

void addRedZone(const Plan& plan, Grid& grid, Rng& rng) {
    const int w = std::clamp(plan.xmax / 8, 2, 40);
    const int h = std::clamp(plan.ymax / 5, 1, 15);
    const int x0 = rng.range(1, std::max(1, plan.xmax - 1 - w));
    const int y0 = rng.range(1, std::max(1, plan.ymax - 1 - h));
    recolourFloor(grid, {x0, y0, x0 + w - 1, y0 + h - 1}, code::kRed);
}

} // namespace gen3dl
