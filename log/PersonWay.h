#pragma once
// One person's whole way through the replay, read from its move list: the places where its way
// turns or changes deck, the steps it has walked and stood by a step of the replay, and when it
// leaves. Wherever the user sees them, persons are numbered from 1 in the order of the file.

#include "PersonData.h"

#include <cstdint>
#include <vector>

// A place on the way: the person stands on this cell of this deck at replay step Step (entries
// 0 .. Step - 1 applied). Cells are counted as TPersonData counts them, from the deck's centre
// cell.
struct TWayPoint {
    std::int32_t Step;
    std::int64_t CellX;
    std::int64_t CellY;
    std::int32_t Level;

    friend bool operator==(const TWayPoint&, const TWayPoint&) = default;
};

// Where the person stands at step 0: its start, as a reset puts it.
TWayPoint StartOfWay(const TPersonData& person, std::int32_t xMax, std::int32_t yMax);

// The place after `count` more entries equal to `move`, as IsStepMoved moves the person entry by
// entry: an invalid direction stands, and its change of deck still applies.
void FollowEntries(TWayPoint& place, std::int32_t count, TMove move);

// The way from the start (step 0) to the place the person stands on last (step Count()), as the
// replay moves it: the start, then the place after every run of equal entries of its list; an
// entry that changes deck is a point of its own, so each deck's part of the way starts and ends
// at a point (in a run of more than 256 deck changes, the first 256; the rest go as one). Between
// two points on one deck the person walks a straight line, one cell a step (or stands). A person
// whose start deck is not a deck (-1) still has its points; entries of an invalid direction stand,
// as in the replay. Memory follows the runs of the list, never its length.
std::vector<TWayPoint> WayOf(TPersonData& person, std::int32_t xMax, std::int32_t yMax);

// What the person did up to a replay step, and in all.
struct TPersonFacts {
    std::int32_t StepsWalked = 0;     // entries before the step that move it to another cell
    std::int32_t StepsStood = 0;      // entries before the step of direction 0 (U0, D0 included)
    std::int32_t StepsStoodInAll = 0; // the same over the whole list
    // The replay step from which it counts as saved, as the replay and the evacuation curve
    // count it: the step after its last entry, Count() + 1, when applying entry Count() finds
    // the list used up. A list as long as a step number can be has no step after it: the last
    // step, 2^31 - 1.
    std::int32_t LeaveStep = 0;
    // Persons of `persons` that count as saved from an earlier step. Persons a header announces
    // beyond those the file describes are not among them; they leave at step 1.
    std::int32_t LeftBefore = 0;
};

// persons[index] at replay step `step` (0 .. its Count(); a later step counts as its Count()).
TPersonFacts FactsOf(std::vector<TPersonData>& persons, std::size_t index, std::int32_t step);
// The same without LeftBefore (left 0), which does not change from step to step and takes a look
// at every person: what a view updated at every step asks for.
TPersonFacts StepFactsOf(const TPersonData& person, std::int32_t step);
