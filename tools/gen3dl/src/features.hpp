#pragma once

#include "deck_builder.hpp"
#include "grid.hpp"
#include "plan.hpp"
#include "rng.hpp"

#include <cstddef>
#include <vector>

namespace gen3dl {

// Opens exits in the outer wall of the exit deck with a green assembly area inside each;
// returns the exit cells, where the walks end.
std::vector<std::size_t> addExits(const Plan& plan, Grid& grid);

// Stamps every stairwell that reaches `deck`.
void stampStairs(const Plan& plan, int deck, Grid& grid);

// Tables in halls, vehicles and machinery on car decks, benches on open decks.
void furnish(const Plan& plan, int deck, const DeckLayout& layout, Grid& grid, Rng& rng);

// Colours a patch of floor red (a fire zone or restricted area); walls stay walls.
void addRedZone(const Plan& plan, Grid& grid, Rng& rng);

} // namespace gen3dl
