#pragma once
// The colours of the congestion map: a cell where nobody stood is left clear; the more persons
// stood on it, against the top of the map's scale, the further its colour goes from a pale,
// half-clear yellow through orange and magenta to an opaque dark purple. The scale is ordered by
// lightness and keeps clear of the colours the file gives its zones (pale red, green, blue, grey).

#include <cstdint>

struct TRgba {
    std::uint8_t R, G, B, A;
};

// share = value / top of the scale; 0 and below is clear, 1 and above the top colour.
TRgba CongestionColour(float share);
