#pragma once
// One simulated person: its start, its move list (one entry per time step) and where it stands now.

#include "ModelReports.h"
#include "MoveList.h"

#include <cstdint>
#include <memory_resource>
#include <vector>

// Where the persons of one project report a fault; the project sets it, and may change it later.
struct TReportTarget {
    IModelReports* Reports = &NoModelReports();
};

class TPersonData {
public:
    TPersonData() = default;
    // Move lists of a project come from the project's memory, in one stretch.
    explicit TPersonData(std::pmr::memory_resource* moveMemory) : Moves(moveMemory) {}

    std::int32_t Attribute = -1;
    std::int32_t MoveCount = 0;
    TMoveList Moves;
    std::int32_t StartX = -1;
    std::int32_t StartY = -1;
    std::int32_t StartLevel = -1;
    std::int32_t StartHeading = 0;
    // The cell it stands on, counted in whole cells from the deck's centre cell, X to the right
    // and Y toward row 0: whole numbers, so that stepping and jumping agree wherever a file puts
    // a person, however far off its deck.
    std::int64_t CellX = 0;
    std::int64_t CellY = 0;
    std::int32_t Level = -1;
    std::int32_t Heading = 0;
    // The deck the person stood on when its list ran out, so that stepping back brings it back.
    std::int32_t LeftFromLevel = -1;
    // Whether the file gave its start record; a person without one stands on no deck.
    bool Started = false;
    // Where a move it cannot apply is reported; none for a person outside a project.
    const TReportTarget* Reporting = nullptr;

    void Init(std::int32_t x, std::int32_t y, std::int32_t level, std::int32_t heading,
              std::int32_t attribute, std::int32_t xMax, std::int32_t yMax);
    // Appends n equal entries; a count of 0 or less appends nothing.
    void AppendMoves(std::int32_t n, std::int32_t direction, std::int32_t levelChange);
    // Appends a list gathered while reading.
    void AppendMoves(TMoveList::TBuilder& list);
    // Takes a list made in other memory, with that memory, as the person's first.
    void TakeMoves(TMoveList&& list) {
        Moves.TakeOver(std::move(list));
        MoveCount = Moves.Count();
    }
    // Takes a whole list at once, in place of the one held.
    void AssignMoves(const std::vector<TMove>& moves);
    // The list one entry per time step, as the file spells it out.
    std::vector<TMove> ExpandedMoves() const;

    // Applies entry k; false once the list is used up (the person has left and is not shown).
    // The entry after the one last used, or the one before, is found at once; any other k is
    // found by walking the list.
    bool IsStepMoved(std::int32_t k);
    // Undoes entry k so that stepping back to a time step gives the state stepping forward gave.
    bool IsStepMovedBack(std::int32_t k);
    void Reset(std::int32_t xMax, std::int32_t yMax);
    // The person as the given number of steps from the start leave it: the same as a Reset and
    // IsStepMoved for every step, in a visit per run of its list. False when it has left.
    bool IsJumpedTo(std::int32_t steps, std::int32_t xMax, std::int32_t yMax);

    struct TState {
        float X, Y;
        std::int32_t Attribute, Heading, Level;
    };
    TState GetState() const { return {X(), Y(), Attribute, Heading, Level}; }
    // Where it stands in deck coordinates: the centre of its cell; the origin for a person
    // without a start record, which has no cell.
    float X() const;
    float Y() const;

private:
    void ReportBadDirection();
};

// Centre of cell (x, y) in deck coordinates: the deck's centre lies at the origin, row 0 at +Y.
// One step in a direction: the change of X and Y, Y growing toward row 0 (so the row index
// falls by Dy).
struct TDirectionStep {
    std::int32_t Dx, Dy;
};
// Forward change of X and Y per direction 0 .. 8.
inline constexpr TDirectionStep DirectionSteps[9] = {{0, 0},  {0, 1},   {1, 1},  {1, 0}, {1, -1},
                                                     {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

// The step of direction 0 .. 8 (0 stands); none for a direction the file cannot mean, which
// moves nobody.
inline const TDirectionStep* StepOfDirection(std::int32_t direction) {
    return direction >= 0 && direction <= 8 ? &DirectionSteps[direction] : nullptr;
}

// A deck number moved by a change; a malformed level from the file must not overflow however
// far it is moved.
std::int32_t AddLevels(std::int32_t level, std::int64_t change);

float CellCentreX(std::int32_t x, std::int32_t xMax);
// The same for a cell counted from the deck's centre cell, as TPersonData keeps it.
float SceneX(std::int64_t cellX);
float SceneY(std::int64_t cellY);
float CellCentreY(std::int32_t y, std::int32_t yMax);
// Column x and row y of a deck counted from its centre cell, as TPersonData keeps them.
std::int64_t CentredCellX(std::int32_t x, std::int32_t xMax);
std::int64_t CentredCellY(std::int32_t y, std::int32_t yMax);

// One time step for a whole population, as the replay runs it: forwards applies entry k of every
// person, backwards undoes it. Returns how many persons count as saved afterwards.
std::int32_t StepAllForward(std::vector<TPersonData>& persons, std::int32_t k);
std::int32_t StepAllBackward(std::vector<TPersonData>& persons, std::int32_t k);
// Every person as the given number of steps from the start leave it; how many have left.
std::int32_t JumpAllTo(std::vector<TPersonData>& persons, std::int32_t steps, std::int32_t xMax,
                       std::int32_t yMax);
