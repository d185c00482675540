#pragma once

namespace gen3dl {

// The change of column and row of each move 0..8, as the checker reads a file: rows grow
// downwards, so 1 is "north". Kept apart from the generator's grid, so that the checker judges
// files by the format alone.
inline constexpr int kMoveDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr int kMoveDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};

} // namespace gen3dl
