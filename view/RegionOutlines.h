#pragma once
// The congested regions of a report drawn on the floor as outlines: a line along every edge
// between a cell of a region and a cell outside it, thick, just above the floor, in one colour for
// significant regions and another for the rest, so that a region reads as one shape on any deck.

#include "Congestion.h"

#include <cstdint>
#include <vector>

struct TRegionOutlines {
    // By deck: x, y pairs in deck coordinates, two points a line, and a flag a line whether it
    // belongs to a significant region.
    std::vector<std::vector<float>> Lines;
    std::vector<std::vector<bool>> Significant;
};

TRegionOutlines OutlinesOf(const TCongestionReport& report, std::int32_t xMax, std::int32_t yMax,
                           std::int32_t decks);

// Draws the outlines of the deck, unlit; with the context current and the deck's coordinates set.
void DrawRegionOutlines(const TRegionOutlines& outlines, std::int32_t deck);
