#pragma once
// The congested regions of a report drawn on the floor as outlines: a line along every edge
// between a cell of a region and a cell outside it, thick, just above the floor, in one colour for
// significant regions and another for the rest, so that a region reads as one shape on any deck.
// A region chosen in the report is drawn thicker, in a colour of its own, above the others.

#include "Congestion.h"

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TOutlineKind : std::uint8_t { Plain, Significant, Chosen };

struct TRegionOutlines {
    // By deck: x, y pairs in deck coordinates, two points a line, and the kind of each line.
    std::vector<std::vector<float>> Lines;
    std::vector<std::vector<TOutlineKind>> Kinds;
};

TRegionOutlines OutlinesOf(const TCongestionReport& report, std::int32_t xMax, std::int32_t yMax,
                           std::int32_t decks);
// The outline of one region of the report, as chosen.
TRegionOutlines ChosenOutlineOf(const TCongestionReport& report, std::size_t region,
                                std::int32_t xMax, std::int32_t yMax, std::int32_t decks);
// Both sets of lines, deck by deck.
TRegionOutlines JoinedOutlines(const TRegionOutlines& first, const TRegionOutlines& second);

// Whether the cell lies in one of the report's regions on that deck.
bool InAnyRegion(const TCongestionReport& report, std::int32_t deck, std::int32_t x, std::int32_t y,
                 std::int32_t xMax);

// Draws the outlines of the deck, unlit; with the context current and the deck's coordinates set.
void DrawRegionOutlines(const TRegionOutlines& outlines, std::int32_t deck);
