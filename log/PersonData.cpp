#include "PersonData.h"

#include "UiServices.h"

#include <algorithm>
#include <cstdint>

namespace {

struct TStep {
    float Dx, Dy;
};

// Forward change of X and Y per direction; Y grows toward row 0.
constexpr TStep DirectionSteps[9] = {{0, 0},  {0, 1},   {1, 1},  {1, 0}, {1, -1},
                                     {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

bool IsValidDirection(std::int32_t direction) {
    return direction >= 0 && direction <= 8;
}

// Levels come from the file; a malformed one must not overflow however far it is moved.
std::int32_t AddLevels(std::int32_t level, std::int64_t change) {
    const std::int64_t sum = std::int64_t{level} + change;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

} // namespace

float CellCentreX(std::int32_t x, std::int32_t xMax) {
    return static_cast<float>(std::int64_t{x} - xMax / 2) + 0.5f;
}

float CellCentreY(std::int32_t y, std::int32_t yMax) {
    return static_cast<float>(std::int64_t{yMax / 2} - y) - 0.5f;
}

void TPersonData::Init(std::int32_t x, std::int32_t y, std::int32_t level, std::int32_t heading,
                       std::int32_t attribute, std::int32_t xMax, std::int32_t yMax) {
    StartX = x;
    StartY = y;
    StartLevel = level;
    StartHeading = heading;
    Attribute = attribute;
    X = CellCentreX(x, xMax);
    Y = CellCentreY(y, yMax);
    Level = level;
    Heading = heading;
}

void TPersonData::AppendMoves(std::int32_t n, std::int32_t direction, std::int32_t levelChange) {
    if (n <= 0) {
        return;
    }
    // Grown and then filled in one sweep: inserting copies through the list's allocator entry
    // by entry, which makes a large load several times slower. Growth is at least geometric, so
    // a file that appends to the same person again and again (one persons section after
    // another) does not copy the whole list at every run.
    const std::size_t old = Moves.size();
    const std::size_t needed = old + static_cast<std::size_t>(n);
    if (needed > Moves.capacity()) {
        Moves.reserve(std::max(needed, 2 * Moves.capacity()));
    }
    Moves.resize(needed);
    std::fill(Moves.begin() + static_cast<std::ptrdiff_t>(old), Moves.end(),
              TMove{direction, levelChange});
    MoveCount = static_cast<std::int32_t>(Moves.size());
}

void TPersonData::AssignMoves(const std::vector<TMove>& moves) {
    Moves.assign(moves.begin(), moves.end());
    MoveCount = static_cast<std::int32_t>(Moves.size());
}

bool TPersonData::IsStepMoved(std::int32_t k) {
    if (k >= MoveCount) {
        if (Level != -1) {
            LeftFromLevel = Level;
        }
        Level = -1;
        return false;
    }
    const TMove& move = Moves[static_cast<std::size_t>(k)];
    if (!IsValidDirection(move.Direction)) {
        ReportBadDirection();
    } else if (move.Direction != 0) {
        const TStep& step = DirectionSteps[move.Direction];
        X += step.Dx;
        Y += step.Dy;
        Heading = move.Direction;
    }
    Level = AddLevels(Level, move.LevelChange);
    return true;
}

bool TPersonData::IsStepMovedBack(std::int32_t k) {
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
    const TMove& move = Moves[static_cast<std::size_t>(k)];
    if (!IsValidDirection(move.Direction)) {
        ReportBadDirection();
    } else {
        const TStep& step = DirectionSteps[move.Direction];
        X -= step.Dx;
        Y -= step.Dy;
    }
    Level = AddLevels(Level, -std::int64_t{move.LevelChange});
    return true;
}

void TPersonData::Reset(std::int32_t xMax, std::int32_t yMax) {
    X = CellCentreX(StartX, xMax);
    Y = CellCentreY(StartY, yMax);
    Level = StartLevel;
    Heading = StartHeading;
    LeftFromLevel = -1;
}

void TPersonData::ReportBadDirection() {
    if (BadDirectionReport != nullptr) {
        if (BadDirectionReport->Reported) {
            return;
        }
        BadDirectionReport->Reported = true;
    }
    Ui().MessageBox("Error", "Error in TPersonData::IsStepMoved()", TMsgIcon::Exclamation,
                    TMsgButtons::Ok);
}

namespace {

// Each person's list is its own array, so a step touches one scattered entry per person; fetching
// the entries of persons a little ahead hides most of that memory latency.
constexpr std::size_t PrefetchDistance = 32;

void PrefetchEntry(const std::vector<TPersonData>& persons, std::size_t i, std::int32_t k) {
    if (i < persons.size()) {
        const TPersonData& person = persons[i];
        if (k >= 0 && k < person.MoveCount) {
            __builtin_prefetch(person.Moves.data() + k);
        }
    }
}

template <typename Step>
std::int32_t StepAll(std::vector<TPersonData>& persons, std::int32_t k, Step step) {
    std::int32_t saved = 0;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        PrefetchEntry(persons, i + PrefetchDistance, k);
        saved += step(persons[i]) ? 0 : 1;
    }
    return saved;
}

} // namespace

std::int32_t StepAllForward(std::vector<TPersonData>& persons, std::int32_t k) {
    return StepAll(persons, k, [k](TPersonData& person) { return person.IsStepMoved(k); });
}

std::int32_t StepAllBackward(std::vector<TPersonData>& persons, std::int32_t k) {
    return StepAll(persons, k, [k](TPersonData& person) { return person.IsStepMovedBack(k); });
}
