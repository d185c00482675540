#include "Trails.h"

#include <algorithm>
#include <cmath>

void AppendTrail(TPersonData& person, std::int32_t step, std::int32_t stepsPerSecond, float seconds,
                 std::vector<TTrailPoint>& stretches) {
    if (person.Level < 0 || stepsPerSecond <= 0 || step > person.Moves.Count()) {
        return;
    }
    const auto perSecond = static_cast<float>(stepsPerSecond);
    std::int64_t budget = std::llround(std::max(seconds, 0.0f) * perSecond);
    TTrailPoint newer{person.X(), person.Y(), 0.0f};
    person.Moves.ForEachRunBackFrom(step, [&](std::int32_t count, TMove move) {
        if (budget <= 0 || move.LevelChange != 0) {
            return false; // long enough, or on another deck before this
        }
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, budget));
        budget -= n;
        const TDirectionStep* offset =
            move.Direction != 0 ? StepOfDirection(move.Direction) : nullptr;
        const TTrailPoint older{
            offset != nullptr ? newer.X - static_cast<float>(offset->Dx * n) : newer.X,
            offset != nullptr ? newer.Y - static_cast<float>(offset->Dy * n) : newer.Y,
            newer.Age + static_cast<float>(n) / perSecond};
        if (offset != nullptr) {
            stretches.push_back(older);
            stretches.push_back(newer);
        }
        newer = older;
        return true;
    });
}

void MeasureTrails(std::vector<TPersonData>& persons, std::int32_t step,
                   std::int32_t stepsPerSecond, float seconds, std::int32_t deckCount,
                   std::vector<std::vector<TTrailPoint>>& byDeck) {
    byDeck.resize(static_cast<std::size_t>(std::max(deckCount, 0)));
    for (std::vector<TTrailPoint>& deck : byDeck) {
        deck.clear();
    }
    for (TPersonData& person : persons) {
        if (person.Level >= 0 && person.Level < deckCount) {
            AppendTrail(person, step, stepsPerSecond, seconds,
                        byDeck[static_cast<std::size_t>(person.Level)]);
        }
    }
}
