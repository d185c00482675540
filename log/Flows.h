#pragma once
// Where persons leave the model and where they change deck, and how many pass there each second.
// An exit cell is the cell a person stands on at its last step (step MoveCount, all its entries
// applied), on the deck it stands on then; it passes there at the step at which it leaves,
// MoveCount + 1. A stair cell is the cell a person stands on when an entry that changes its deck
// (U or D) begins, on the deck it leaves; it passes there at the step at which it arrives on the
// other deck, the step after the entry's. Each entry that changes the deck is a passage of its
// own, so a person who changes deck twice passes two stairs. Only cells of the grid on decks of
// the project count. Touching cells (8 neighbours) of one kind on one deck form one exit or one
// stair; stair cells that lie in one area of marked floor (touching cells of one of the colours
// green, red, grey or blue, as a stairwell is drawn) form one stair as well, however far apart.
//
// Read from the move lists in one pass, a visit per run of equal entries, split over the
// processors. Memory follows the cells passed and the seconds in which someone passed them, never
// the grid a header announces nor the length of the replay.

#include "AnalysisSettings.h"

#include <cstdint>
#include <string>
#include <vector>

class TLogFile;

enum class TFlowKind { Exit, Stair };

// The persons passing within one whole second of the replay: second s holds the passages at
// steps s x VMax up to (s + 1) x VMax - 1. When time cannot pass (VMax <= 0) all are in second 0.
struct TSecondCount {
    std::int64_t Second = 0;
    std::int64_t Persons = 0;

    friend bool operator==(const TSecondCount&, const TSecondCount&) = default;
};

// An exit or a stair.
struct TFlowPlace {
    TFlowKind Kind = TFlowKind::Exit;
    std::int32_t Deck = 0;
    // The cells' bounds as the file counts columns and rows, both ends included.
    std::int32_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    std::int32_t CellCount = 0;
    // The longer side of the bounds: a door's width whether persons cross it in one row of cells
    // or several, straight or diagonal.
    std::int32_t WidthCells = 0;
    TExactRatio WidthMetres;
    std::int64_t Total = 0; // passages
    std::int64_t FirstStep = 0;
    std::int64_t LastStep = 0;
    // Only the seconds in which someone passed, in order.
    std::vector<TSecondCount> PerSecond;
    // The most persons passing within one whole second, and that over the width.
    std::int64_t PeakPerSecond = 0;
    TExactRatio PeakPerMetreSecond;
};

struct TFlowReport {
    TAnalysisSettings Settings;
    // Exits first, then stairs; each by deck, then by top row, then by left column.
    std::vector<TFlowPlace> Places;
    // The persons the file describes, and those of them whose last cell lies off every deck's
    // grid: they leave at no exit.
    std::int64_t Persons = 0;
    std::int64_t LeavingAtNoExit = 0;
};

// "4 of 5 persons leave by an exit, 1 from a cell off every deck's grid (counted at no exit)".
std::string LeavingText(const TFlowReport& report);

// The project is only read.
TFlowReport AnalyseFlows(const TLogFile& project, const TAnalysisSettings& settings);
