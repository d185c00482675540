#pragma once

#include "grid.hpp"
#include "options.hpp"

#include <string>
#include <vector>

namespace gen3dl {

enum class Role { CarDeck, Cabins, Muster, SunDeck, Offices, Lobby };

// A stair area stamped at the same cells on every deck from lowDeck to highDeck.
struct Stairwell {
    Rect area;
    char code;
    int lowDeck;
    int highDeck;
};

// Geometry every deck shares: outline, corridor grid, stairs and what each deck is used for.
struct Plan {
    Kind kind = Kind::Ship;
    int xmax = 0;
    int ymax = 0;
    int zmax = 0;
    int exitDeck = 0;
    int corridor = 1;           // corridor width in cells
    int roomDepth = 3;          // least depth of a row of cabins, in cells
    int mainRow = 0;            // first row of the main corridor
    std::vector<int> crossCols; // first column of each cross corridor, ascending
    std::vector<int> longRows;  // first row of each lengthwise corridor, ascending
    Grid hull;
    std::vector<Role> roles;
    std::vector<Stairwell> stairs;
};

// Throws std::invalid_argument if the deck is too small to hold a stair.
Plan makePlan(const Options& opts);

std::string deckCaption(const Plan& plan, int deck);

} // namespace gen3dl
