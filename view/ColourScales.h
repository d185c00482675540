#pragma once
// The colour scales of the view, each ordered by lightness and clear of the colours the file gives
// its zones (pale red, green, blue, grey).
//
// The congestion map: a cell where nobody stood is left clear; the more persons stood on it,
// against the top of the map's scale, the further its colour goes from a pale, half-clear yellow
// through orange and magenta to an opaque dark purple.
//
// Persons by waiting: a person that moved in its last step keeps the persons' green; one that
// stands goes from a dark blue through purple, pink and orange to yellow at the limit and above
// (a plasma-like scale, with no green or grey in it to be taken for moving persons or walls).

#include <cstdint>

struct TRgba {
    std::uint8_t R, G, B, A;
};

// share = value / top of the scale; 0 and below is clear, 1 and above the top colour.
TRgba CongestionColour(float share);
// seconds stood still in a row; limit > 0 is where the scale ends.
TRgba WaitingColour(float seconds, float limit);
