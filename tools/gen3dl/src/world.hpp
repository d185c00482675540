#pragma once

#include "grid.hpp"
#include "options.hpp"
#include "routing.hpp"

#include <string>
#include <vector>

namespace gen3dl {

// Everything the person generator and the writer need: decks and one distance field per deck
// towards the stairs leading to the exit deck (or, on the exit deck, towards its exits).
struct World {
    int xmax = 0;
    int ymax = 0;
    int zmax = 0;
    int exitDeck = 0;
    std::vector<Grid> decks;
    std::vector<std::string> captions;
    std::vector<Field> fields;
    std::vector<std::vector<bool>> doorways; // per deck: cells where people may hold back

    const Grid& deck(int z) const { return decks[at(z)]; }
    const Field& field(int z) const { return fields[at(z)]; }
    bool isDoorway(int z, std::size_t i) const { return doorways[at(z)][i]; }
    int nextDeck(int z) const { return z < exitDeck ? z + 1 : z - 1; }
};

// Throws std::invalid_argument if the options leave no room for the layout.
World buildWorld(const Options& opts);

} // namespace gen3dl
