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
#include <string_view>
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

// Persons standing on one cell together. A cell holds one person as the density counts it, so
// every step at which two share a cell counts persons the cell cannot hold: densities above one
// person over a cell's area come from them. Counted in the same pass as the windows.
struct TSharedCells {
    // The most persons on one cell at one step; where and when first (the lowest deck, then row,
    // then column at that step).
    std::int32_t MostPersons = 0;
    std::int32_t Deck = 0;
    std::int32_t X = 0, Y = 0;
    std::int32_t Step = 0;
    // The steps at which a cell holds more than one person, summed over the cells.
    std::int64_t CellSteps = 0;

    bool Any() const { return MostPersons > 1; }
};

struct TCongestionReport {
    TAnalysisSettings Settings;
    // The time at which everybody has left, in steps, which the share is taken of.
    std::int32_t AssemblySteps = 0;
    // Significant regions first, then the longer before the shorter, then by deck and place.
    std::vector<TCongestionRegion> Regions;
    TSharedCells Shared;

    std::int32_t SignificantCount() const;
};

// "22 persons on one cell at 2:01, Deck 2 - Cabins, cell 17, 5; 4578 cell-steps hold more than
// one person: densities above 6.25 persons/m² count persons a cell cannot hold", the time as
// the replay shows it and the deck named by the caption given; none when no cell holds two.
std::optional<std::string> SharedCellsText(const TCongestionReport& report, const TLogFile& project,
                                           std::string_view deckCaption);

// The regions as --congestion prints them: a header line, then a line per region; times are
// replay times (step / VMax + TOff), durations steps / VMax, in seconds with three decimals.
std::string CongestionCsv(const TCongestionReport& report, std::int32_t vMax, std::int32_t tOff);

// The measures the report was taken with, in one line: "Cells of 0.40 m; congested above 4.0
// persons/m² in a window of 5 x 5 cells (2.00 m); significant when congested for longer than
// 10 % of tA = 245.000 s, the time everybody has left".
std::string CongestionMeasuresText(const TCongestionReport& report, std::int32_t vMax);

// Why the congestion of the project is not measured, or none: the counts of every window of the
// decks persons stand on, with the changes of place of a stretch of steps, would take more memory
// than the project may (its MemoryLimit), which a header announcing a vast grid can ask for.
std::optional<std::string> CongestionRefusal(const TLogFile& project);

// The project is only read; it must not be refused by AnalysisRefusal or CongestionRefusal. The
// work is shared among `cores` threads, all the machine has when 0 (at most 8).
TCongestionReport AnalyseCongestion(const TLogFile& project, const TAnalysisSettings& settings,
                                    std::size_t cores = 0);
