#include "deck_builder.hpp"

#include "hull.hpp"

#include <algorithm>

namespace gen3dl {
namespace {

// Cells between corridors along one axis; `before`/`after` tell whether a corridor borders it.
struct Span {
    int lo;
    int hi;
    bool before;
    bool after;
};

// The area between two cross corridors and two lengthwise corridors (or the hull).
struct Block {
    Rect r;
    bool north;
    bool south;
    bool west;
    bool east;
    bool hullSide;
};

enum class Side { North, South, West, East };

struct Ctx {
    const Plan& plan;
    int deck;
    Rng& rng;
    DeckLayout& out;
};

std::vector<Span> spansBetween(const std::vector<int>& starts, int corridor, int length) {
    std::vector<Span> spans;
    int lo = 1;
    bool before = false;
    for (int s : starts) {
        if (s - 1 >= lo) {
            spans.push_back({lo, s - 1, before, true});
        }
        lo = s + corridor;
        before = true;
    }
    if (length - 2 >= lo) {
        spans.push_back({lo, length - 2, before, false});
    }
    return spans;
}

std::vector<Block> makeBlocks(const Plan& p) {
    std::vector<Block> blocks;
    const auto xs = spansBetween(p.crossCols, p.corridor, p.xmax);
    const auto ys = spansBetween(p.longRows, p.corridor, p.ymax);
    for (const Span& ys1 : ys) {
        for (const Span& xs1 : xs) {
            const Rect r{xs1.lo, ys1.lo, xs1.hi, ys1.hi};
            const bool hullSide = !ys1.before || !ys1.after;
            blocks.push_back({r, ys1.before, ys1.after, xs1.before, xs1.after, hullSide});
        }
    }
    return blocks;
}

// Paints only inside the hull, so rooms near the bow are simply cut off by the outline.
void paint(Ctx& c, const Rect& r, char cell) {
    for (int y = std::max(r.y0, 0); y <= std::min(r.y1, c.plan.ymax - 1); ++y) {
        for (int x = std::max(r.x0, 0); x <= std::min(r.x1, c.plan.xmax - 1); ++x) {
            if (isInterior(c.plan.hull, x, y)) {
                c.out.grid.set(x, y, cell);
            }
        }
    }
}

void borderWalls(Ctx& c, const Block& b) {
    const Rect& r = b.r;
    if (b.north) {
        paint(c, {r.x0, r.y0, r.x1, r.y0}, code::kWall);
    }
    if (b.south) {
        paint(c, {r.x0, r.y1, r.x1, r.y1}, code::kWall);
    }
    if (b.west) {
        paint(c, {r.x0, r.y0, r.x0, r.y1}, code::kWall);
    }
    if (b.east) {
        paint(c, {r.x1, r.y0, r.x1, r.y1}, code::kWall);
    }
}

Rect innerArea(const Block& b) {
    Rect r = b.r;
    r.y0 += b.north ? 1 : 0;
    r.y1 -= b.south ? 1 : 0;
    r.x0 += b.west ? 1 : 0;
    r.x1 -= b.east ? 1 : 0;
    return r;
}

// A door needs walkable floor on both sides and must not pierce the hull.
bool tryDoor(Ctx& c, int x, int y, int dx, int dy) {
    Grid& g = c.out.grid;
    if (g.at(x, y) != code::kWall || !isInterior(c.plan.hull, x, y)) {
        return false;
    }
    if (!isWalkable(g.at(x + dx, y + dy)) || !isWalkable(g.at(x - dx, y - dy))) {
        return false;
    }
    g.set(x, y, code::kFree);
    return true;
}

// Opens one door in the wall on `side` of `room`, at a random place along that wall.
bool addDoor(Ctx& c, const Rect& room, Side side) {
    const bool alongX = side == Side::North || side == Side::South;
    const int n = alongX ? room.width() : room.height();
    const int start = static_cast<int>(c.rng.below(static_cast<std::uint64_t>(n)));
    for (int i = 0; i < n; ++i) {
        const int t = (start + i) % n;
        bool ok = false;
        switch (side) {
        case Side::North:
            ok = tryDoor(c, room.x0 + t, room.y0 - 1, 0, -1);
            break;
        case Side::South:
            ok = tryDoor(c, room.x0 + t, room.y1 + 1, 0, 1);
            break;
        case Side::West:
            ok = tryDoor(c, room.x0 - 1, room.y0 + t, -1, 0);
            break;
        case Side::East:
            ok = tryDoor(c, room.x1 + 1, room.y0 + t, 1, 0);
            break;
        }
        if (ok) {
            return true;
        }
    }
    return false;
}

// Where a stairwell takes the first room of a cabin row, that room is made exactly as wide as
// the stairwell, so the stairs never split a cabin.
int stairRoomWidth(const Ctx& c, const Rect& band) {
    for (const Stairwell& s : c.plan.stairs) {
        const bool onDeck = c.deck >= s.lowDeck && c.deck <= s.highDeck;
        const bool overlaps = s.area.y0 <= band.y1 && s.area.y1 >= band.y0;
        if (onDeck && overlaps && s.area.x0 == band.x0 - 1) {
            return s.area.width() - 1;
        }
    }
    return 0;
}

// A row of cabins side by side, each with a door onto the corridor on one side.
void cabinRow(Ctx& c, const Rect& band, Side doorSide) {
    const int forced = stairRoomWidth(c, band);
    int x = band.x0;
    for (bool first = true; x <= band.x1; first = false) {
        const bool stairRoom = first && forced > 0;
        int w = stairRoom ? forced : c.rng.range(3, 6);
        if (!stairRoom && band.x1 - (x + w) < 3) {
            w = band.x1 - x + 1; // no slivers at the end of the row
        }
        w = std::min(w, band.x1 - x + 1);
        const Rect room{x, band.y0, x + w - 1, band.y1};
        if (room.x1 < band.x1) {
            paint(c, {room.x1 + 1, band.y0, room.x1 + 1, band.y1}, code::kWall);
        }
        addDoor(c, room, doorSide);
        x += w + 1;
    }
}

void cabinBlock(Ctx& c, const Block& b) {
    borderWalls(c, b);
    const Rect area = innerArea(b);
    if (area.empty()) {
        return;
    }
    if (b.north && b.south && area.height() >= 7) {
        const int mid = area.y0 + area.height() / 2;
        paint(c, {area.x0, mid, area.x1, mid}, code::kWall);
        cabinRow(c, {area.x0, area.y0, area.x1, mid - 1}, Side::North);
        cabinRow(c, {area.x0, mid + 1, area.x1, area.y1}, Side::South);
    } else {
        cabinRow(c, area, b.north ? Side::North : Side::South);
    }
}

// One large room with several doors on each corridor side.
void hallBlock(Ctx& c, const Block& b) {
    borderWalls(c, b);
    const Rect area = innerArea(b);
    if (area.empty()) {
        return;
    }
    constexpr int kDoorEvery = 8;
    for (int x = area.x0; x <= area.x1; x += kDoorEvery) {
        const Rect part{x, area.y0, std::min(x + kDoorEvery - 1, area.x1), area.y1};
        if (b.north) {
            addDoor(c, part, Side::North);
        }
        if (b.south) {
            addDoor(c, part, Side::South);
        }
    }
    if (b.west) {
        addDoor(c, area, Side::West);
    }
    if (b.east) {
        addDoor(c, area, Side::East);
    }
    c.out.halls.push_back(area);
}

// On the boat deck the blocks along the hull are open promenade; a deep one keeps a lounge on
// its inboard side, with doors onto the promenade.
void promenadeBlock(Ctx& c, const Block& b) {
    const int promenade = std::max(3, c.plan.roomDepth);
    if (b.r.height() < promenade + 5) {
        c.out.openDecks.push_back(b.r);
        return;
    }
    Rect open = b.r;
    Block lounge = b;
    if (!b.north) {
        open.y1 = b.r.y0 + promenade - 1;
        lounge.r.y0 = open.y1 + 1;
        lounge.north = true;
    } else {
        open.y0 = b.r.y1 - promenade + 1;
        lounge.r.y1 = open.y0 - 1;
        lounge.south = true;
    }
    c.out.openDecks.push_back(open);
    hallBlock(c, lounge);
}

void renderBlock(Ctx& c, const Block& b) {
    const Role role = c.plan.roles[at(c.deck)];
    const bool deepHullRow = b.hullSide && innerArea(b).height() > c.plan.roomDepth + 3;
    if (role == Role::Muster && b.hullSide) {
        promenadeBlock(c, b);
    } else if (role == Role::Muster || deepHullRow) {
        hallBlock(c, b);
    } else {
        const int hallPercent = role == Role::Cabins ? 15 : (role == Role::Offices ? 35 : 50);
        if (c.rng.percent(hallPercent)) {
            hallBlock(c, b);
        } else {
            cabinBlock(c, b);
        }
    }
}

bool isOpenDeck(Role role) {
    return role == Role::CarDeck || role == Role::SunDeck;
}

} // namespace

DeckLayout buildStructure(const Plan& plan, int deck, Rng& rng) {
    DeckLayout out;
    out.grid = plan.hull;
    Ctx c{plan, deck, rng, out};
    if (isOpenDeck(plan.roles[at(deck)])) {
        out.openDecks.push_back({1, 1, plan.xmax - 2, plan.ymax - 2});
        return out;
    }
    for (const Block& b : makeBlocks(plan)) {
        renderBlock(c, b);
    }
    return out;
}

} // namespace gen3dl
