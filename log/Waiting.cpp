#include "Waiting.h"

#include <algorithm>

void MeasureWaiting(std::vector<TPersonData>& persons, std::int32_t step,
                    std::int32_t stepsPerSecond, std::vector<float>& seconds) {
    seconds.assign(persons.size(), 0.0f);
    if (step <= 0 || stepsPerSecond <= 0) {
        return;
    }
    const auto perSecond = static_cast<float>(stepsPerSecond);
    for (std::size_t i = 0; i < persons.size(); ++i) {
        TMoveList& moves = persons[i].Moves;
        if (step <= moves.Count()) {
            seconds[i] = static_cast<float>(moves.StandingBefore(step)) / perSecond;
        }
    }
}
