#include "PersonData.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsValidDirection(std::int32_t direction) {
    return StepOfDirection(direction) != nullptr;
}

} // namespace

std::int32_t AddLevels(std::int32_t level, std::int64_t change) {
    const std::int64_t sum = std::int64_t{level} + change;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::int64_t CentredCellX(std::int32_t x, std::int32_t xMax) {
    return std::int64_t{x} - xMax / 2;
}

std::int64_t CentredCellY(std::int32_t y, std::int32_t yMax) {
    return std::int64_t{yMax / 2} - y;
}

// Rounded once, from the whole cell: a place far off the deck rounds the same however it was
// reached.
float SceneX(std::int64_t cellX) {
    return static_cast<float>(cellX) + 0.5f;
}

float SceneY(std::int64_t cellY) {
    return static_cast<float>(cellY) - 0.5f;
}

float CellCentreX(std::int32_t x, std::int32_t xMax) {
    return SceneX(CentredCellX(x, xMax));
}

float CellCentreY(std::int32_t y, std::int32_t yMax) {
    return SceneY(CentredCellY(y, yMax));
}

float TPersonData::X() const {
    return Started ? SceneX(CellX) : 0.0f;
}

float TPersonData::Y() const {
    return Started ? SceneY(CellY) : 0.0f;
}

void TPersonData::Init(std::int32_t x, std::int32_t y, std::int32_t level, std::int32_t heading,
                       std::int32_t attribute, std::int32_t xMax, std::int32_t yMax) {
    StartX = x;
    StartY = y;
    StartLevel = level;
    StartHeading = heading;
    Attribute = attribute;
    Started = true;
    CellX = CentredCellX(x, xMax);
    CellY = CentredCellY(y, yMax);
    Level = level;
    Heading = heading;
}

void TPersonData::AppendMoves(std::int32_t n, std::int32_t direction, std::int32_t levelChange) {
    Moves.Append(n, {direction, levelChange});
    MoveCount = Moves.Count();
}

void TPersonData::AppendMoves(TMoveList::TBuilder& list) {
    Moves.Append(list);
    MoveCount = Moves.Count();
}

void TPersonData::AssignMoves(const std::vector<TMove>& moves) {
    TMoveList::TBuilder list;
    for (const TMove& move : moves) {
        list.Add(1, move);
    }
    Moves.Clear();
    AppendMoves(list);
}

std::vector<TMove> TPersonData::ExpandedMoves() const {
    std::vector<TMove> moves;
    moves.reserve(static_cast<std::size_t>(MoveCount));
    Moves.ForEachRun([&moves](std::int32_t count, TMove move) {
        moves.insert(moves.end(), static_cast<std::size_t>(count), move);
    });
    return moves;
}

bool TPersonData::IsStepMoved(std::int32_t k) {
    if (k < 0) {
        return true; // before the first time step there is no entry to apply
    }
    if (k >= MoveCount) {
        if (Level != -1) {
            LeftFromLevel = Level;
        }
        Level = -1;
        return false;
    }
    const TMove move = Moves.At(k);
    if (!IsValidDirection(move.Direction)) {
        ReportBadDirection();
    } else if (move.Direction != 0) {
        const TDirectionStep& step = DirectionSteps[move.Direction];
        CellX += step.Dx;
        CellY += step.Dy;
        Heading = move.Direction;
    }
    Level = AddLevels(Level, move.LevelChange);
    return true;
}

bool TPersonData::IsStepMovedBack(std::int32_t k) {
    if (k < 0) {
        return true;
    }
    if (k > MoveCount) {
        Level = -1;
        return false;
    }
    if (k == MoveCount) {
        // The step to k + 1 only took the person off its deck; its place is where it left.
        if (Level == -1) {
            Level = LeftFromLevel;
        }
        return true;
    }
    const TMove move = Moves.At(k);
    if (!IsValidDirection(move.Direction)) {
        ReportBadDirection();
    } else {
        const TDirectionStep& step = DirectionSteps[move.Direction];
        CellX -= step.Dx;
        CellY -= step.Dy;
    }
    Level = AddLevels(Level, -std::int64_t{move.LevelChange});
    return true;
}

void TPersonData::Reset(std::int32_t xMax, std::int32_t yMax) {
    CellX = CentredCellX(StartX, xMax);
    CellY = CentredCellY(StartY, yMax);
    Level = StartLevel;
    Heading = StartHeading;
    LeftFromLevel = -1;
}

bool TPersonData::IsJumpedTo(std::int32_t steps, std::int32_t xMax, std::int32_t yMax) {
    Reset(xMax, yMax);
    bool badDirection = false;
    Moves.ForEachRunBefore(std::clamp(steps, 0, MoveCount), [&](std::int32_t count, TMove move) {
        if (!IsValidDirection(move.Direction)) {
            badDirection = true;
        } else if (move.Direction != 0) {
            const TDirectionStep& step = DirectionSteps[move.Direction];
            CellX += std::int64_t{step.Dx} * count;
            CellY += std::int64_t{step.Dy} * count;
            Heading = move.Direction;
        }
        Level = AddLevels(Level, std::int64_t{move.LevelChange} * count);
    });
    if (badDirection) {
        ReportBadDirection();
    }
    if (steps <= MoveCount) {
        return true;
    }
    if (Level != -1) {
        LeftFromLevel = Level;
    }
    Level = -1;
    return false;
}

void TPersonData::ReportBadDirection() {
    if (Reporting == nullptr) {
        return;
    }
    IModelReports& reports = *Reporting->Reports;
    if (reports.Wants(TFaultKind::BadDirection)) {
        reports.Report({TFaultKind::BadDirection, "Error in TPersonData::IsStepMoved()"});
    }
}

namespace {

// Each person's list lies elsewhere in memory, so a step reads one scattered byte per person
// whenever a run ends; fetching the lists of persons a little ahead hides most of that latency.
constexpr std::size_t PrefetchDistance = 32;

template <typename Prefetch, typename Step>
std::int32_t StepAll(std::vector<TPersonData>& persons, Prefetch prefetch, Step step) {
    std::int32_t saved = 0;
    const std::size_t count = persons.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + PrefetchDistance < count) {
            (persons[i + PrefetchDistance].Moves.*prefetch)();
        }
        saved += step(persons[i]) ? 0 : 1;
    }
    return saved;
}

} // namespace

std::int32_t StepAllForward(std::vector<TPersonData>& persons, std::int32_t k) {
    return StepAll(persons, &TMoveList::PrefetchNextRun,
                   [k](TPersonData& person) { return person.IsStepMoved(k); });
}

std::int32_t StepAllBackward(std::vector<TPersonData>& persons, std::int32_t k) {
    return StepAll(persons, &TMoveList::PrefetchPreviousRun,
                   [k](TPersonData& person) { return person.IsStepMovedBack(k); });
}

std::int32_t JumpAllTo(std::vector<TPersonData>& persons, std::int32_t steps, std::int32_t xMax,
                       std::int32_t yMax) {
    std::int32_t saved = 0;
    for (TPersonData& person : persons) {
        saved += person.IsJumpedTo(steps, xMax, yMax) ? 0 : 1;
    }
    return saved;
}
