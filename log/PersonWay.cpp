#include "PersonWay.h"

#include <algorithm>
#include <limits>

TWayPoint StartOfWay(const TPersonData& person, std::int32_t xMax, std::int32_t yMax) {
    return {0, CentredCellX(person.StartX, xMax), CentredCellY(person.StartY, yMax),
            person.StartLevel};
}

// Equal entries move the person in one straight line; their changes of deck all go one way, so
// adding them at once clamps as adding them one by one does.
void FollowEntries(TWayPoint& place, std::int32_t count, TMove move) {
    if (const TDirectionStep* step = StepOfDirection(move.Direction)) {
        place.CellX += std::int64_t{step->Dx} * count;
        place.CellY += std::int64_t{step->Dy} * count;
    }
    place.Level = AddLevels(place.Level, std::int64_t{move.LevelChange} * count);
    place.Step += count;
}

namespace {

constexpr std::int32_t MostDeckChangesApart = 256;

} // namespace

std::vector<TWayPoint> WayOf(TPersonData& person, std::int32_t xMax, std::int32_t yMax) {
    TWayPoint place = StartOfWay(person, xMax, yMax);
    std::vector<TWayPoint> way{place};
    person.Moves.ForEachRun([&](std::int32_t count, TMove move) {
        if (move.LevelChange == 0) {
            FollowEntries(place, count, move);
            way.push_back(place);
            return;
        }
        // Every entry of the run reaches another deck: each deck's part ends at a point. A run
        // longer than any stack of decks ends in one stretch, so that a short token of the file
        // cannot ask for millions of points.
        const std::int32_t single = std::min(count, MostDeckChangesApart);
        for (std::int32_t i = 0; i < single; ++i) {
            FollowEntries(place, 1, move);
            way.push_back(place);
        }
        if (count > single) {
            FollowEntries(place, count - single, move);
            way.push_back(place);
        }
    });
    return way;
}

namespace {

std::int32_t LeaveStepOf(const TPersonData& person) {
    return person.MoveCount < std::numeric_limits<std::int32_t>::max() ? person.MoveCount + 1
                                                                       : person.MoveCount;
}

// The entries that walk and that stand, before `step` and in all.
TPersonFacts CountEntries(const TMoveList& moves, std::int32_t step) {
    TPersonFacts facts;
    const std::int32_t upTo = std::max(step, 0);
    std::int32_t first = 0; // of the run
    moves.ForEachRun([&](std::int32_t count, TMove move) {
        const std::int32_t before = std::clamp(upTo - first, 0, count);
        first += count;
        if (move.Direction == 0) {
            facts.StepsStood += before;
            facts.StepsStoodInAll += count;
        } else if (StepOfDirection(move.Direction) != nullptr) {
            facts.StepsWalked += before;
        }
    });
    return facts;
}

} // namespace

TPersonFacts StepFactsOf(const TPersonData& person, std::int32_t step) {
    TPersonFacts facts = CountEntries(person.Moves, step);
    facts.LeaveStep = LeaveStepOf(person);
    return facts;
}

TPersonFacts FactsOf(std::vector<TPersonData>& persons, std::size_t index, std::int32_t step) {
    TPersonFacts facts = StepFactsOf(persons[index], step);
    facts.LeftBefore = static_cast<std::int32_t>(
        std::count_if(persons.begin(), persons.end(), [&](const TPersonData& other) {
            return LeaveStepOf(other) < facts.LeaveStep;
        }));
    return facts;
}
