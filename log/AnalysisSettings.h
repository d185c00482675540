#pragma once
// The measures the congestion and flow figures are taken with. The log counts length in cells and
// does not say how large a cell is; these say it, and how congestion is judged: the local density
// of persons in a square window around each cell, above a threshold, for longer than a share of
// the time everybody takes to leave. The defaults are those of the maritime guidelines with cells
// of 0.4 m.

#include "ExactRatio.h"

#include <cstdint>

struct TAnalysisSettings {
    std::int32_t CellSizeMm = 400;
    // The side of the window the local density is measured in.
    std::int32_t DensityWindowMm = 2000;
    // A cell is congested while its density exceeds this many tenths of persons per m².
    std::int32_t CongestionDensityTenths = 40;
    // A region is significant when its longest congestion lasts longer than this share of the
    // time at which everybody has left, in percent.
    std::int32_t SignificantSharePercent = 10;

    // Counts of cells as measures, exact, so that every report rounds them alike: a length of
    // that many cells in metres, an area in m², persons over the area of that many cells in
    // persons/m², and a count over a length of that many cells in persons/m. A length or an area
    // of no cells gives 0.
    TExactRatio Metres(std::int64_t cells) const;
    TExactRatio SquareMetres(std::int64_t cells) const;
    TExactRatio Density(std::int64_t persons, std::int64_t cells) const;
    TExactRatio PerMetre(std::int64_t count, std::int64_t cells) const;
    // The window's side in cells: the odd number nearest to its side over the cell size, at
    // least 1 (a tie goes to the larger).
    std::int32_t WindowCells() const;
};
