#pragma once
// The way a person came: the cells it stood on during the last seconds up to a step of the
// replay, read back from its move list. The way ends where the person changed deck, so a person
// that came from another deck starts a new trail on this one.

#include "PersonData.h"

#include <cstdint>
#include <vector>

// One end of a straight stretch of a trail: a cell centre in deck coordinates and how many
// seconds ago the person stood there.
struct TTrailPoint {
    float X;
    float Y;
    float Age;
};

// Appends the person's stretches of the last `seconds` up to step `step` (entries 0 .. step - 1
// applied) as pairs of points, the older end first, newest stretch first. Nothing for a person
// not on a deck at that step.
void AppendTrail(TPersonData& person, std::int32_t step, std::int32_t stepsPerSecond, float seconds,
                 std::vector<TTrailPoint>& stretches);

// Every person's trail at the step, on the deck it stands on: byDeck[d] holds the stretches of
// deck d, for decks 0 .. deckCount - 1.
void MeasureTrails(std::vector<TPersonData>& persons, std::int32_t step,
                   std::int32_t stepsPerSecond, float seconds, std::int32_t deckCount,
                   std::vector<std::vector<TTrailPoint>>& byDeck);
