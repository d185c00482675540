#pragma once

#include "grid.hpp"
#include "plan.hpp"
#include "rng.hpp"

#include <vector>

namespace gen3dl {

// Walls, corridors and rooms of one deck, plus the open areas that still get furniture.
struct DeckLayout {
    Grid grid;
    std::vector<Rect> halls;     // large rooms: tables
    std::vector<Rect> openDecks; // open deck or promenade: vehicles, benches, machinery
};

DeckLayout buildStructure(const Plan& plan, int deck, Rng& rng);

} // namespace gen3dl
