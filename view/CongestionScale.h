#pragma once
// The colours of the congestion map: a cell where nobody stood is left clear; the longer persons
// stood on it, against the longest of the deck, the further its colour goes from a light yellow
// to an opaque red.

#include <cstdint>

struct TRgba {
    std::uint8_t R, G, B, A;
};

// share = seconds / most seconds of the deck, 0 .. 1; 0 is clear.
TRgba CongestionColour(float share);
