#pragma once
// How long each person has stood still at a step of the replay: the time steps in a row of
// direction 0 (a change of deck that stands, U0 or D0, counts, as on the congestion map) that end
// with the last entry applied, in seconds. Read from the move lists, so it is the same however
// the step was reached: forwards, backwards or by a jump.

#include "PersonData.h"

#include <cstdint>
#include <vector>

// seconds[i] for persons[i] at replay step `step` (entries 0 .. step - 1 applied); 0 for a person
// who has not stood or whose list ended before the step.
void MeasureWaiting(std::vector<TPersonData>& persons, std::int32_t step,
                    std::int32_t stepsPerSecond, std::vector<float>& seconds);
