#pragma once
// Congestion as the maritime guidelines judge it: at every step, the local density around each
// walkable cell (the persons in a square window centred on it over the walkable area of the
// window); a cell is congested while its density exceeds the threshold. Cells that were ever
// congested and touch (8 neighbours) form a region, congested at a step when any of its cells is;
// a region is significant when its longest congestion lasts longer than a share of the time at
// which everybody has left. Read from the move lists as events (a person entering or leaving a
// cell), not step by step, so a crowd that stands for hours costs what its file holds.

#include "AnalysisSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TLogFile;

struct TCongestionRegion {
    std::int32_t Deck = 0;
    // The cells' bounds as the file counts columns and rows, both ends included.
    std::int32_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    std::int32_t CellCount = 0; // cells of the region: each was congested at some step
    // Those cells, row-major as the deck's cells (y x XMax + x), in that order.
    std::vector<std::int32_t> Cells;
    TExactRatio AreaM2;
    // Replay steps: the first and the last at which it was congested; the most steps in a row and
    // in all.
    std::int32_t FirstStep = 0;
    std::int32_t LastStep = 0;
    std::int32_t LongestSteps = 0;
    std::int32_t TotalSteps = 0;
    // The highest density of any of its cells, persons/m²: the persons in the cell's window over
    // the window's walkable cells; and where and when it was first reached. Densities are
    // compared as these whole numbers, so that equal ones are equal whatever the window.
    std::int32_t PeakPersons = 0;
    std::int32_t PeakWindowCells = 0;
    TExactRatio PeakDensity;
    std::int32_t PeakStep = 0;
    std::int32_t PeakX = 0, PeakY = 0;
    bool Significant = false;
};

struct TCongestionReport {
    TAnalysisSettings Settings;
    // The time at which everybody has left, in steps, which the share is taken of.
    std::int32_t AssemblySteps = 0;
    // Significant regions first, then the longer before the shorter, then by deck and place.
    std::vector<TCongestionRegion> Regions;

    std::int32_t SignificantCount() const;
};

// Why the congestion of the project is not measured, or none: the counts of every window of the
// decks persons stand on, with the changes of place of a stretch of steps, would take more memory
// than the project may (its MemoryLimit), which a header announcing a vast grid can ask for.
std::optional<std::string> CongestionRefusal(const TLogFile& project);

// The project is only read; it must not be refused by AnalysisRefusal or CongestionRefusal. The
// work is shared among `cores` threads, all the machine has when 0 (at most 8).
TCongestionReport AnalyseCongestion(const TLogFile& project, const TAnalysisSettings& settings,
                                    std::size_t cores = 0);
