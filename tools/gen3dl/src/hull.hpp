#pragma once

#include "grid.hpp"
#include "options.hpp"

namespace gen3dl {

// Outline shared by every deck: void outside, wall on the outline, free floor inside.
// A ship has a flat transom at x = 0 and a pointed bow towards x = xmax - 1.
Grid makeHull(Kind kind, int xmax, int ymax);

// True for cells strictly inside the outline (neither void nor hull wall).
inline bool isInterior(const Grid& hull, int x, int y) {
    return hull.inside(x, y) && hull.at(x, y) == code::kFree;
}

} // namespace gen3dl
