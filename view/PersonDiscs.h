#pragma once
// The persons of a deck as the plan shows them: flat discs on the floor, each inside the cell
// that holds it, with a notch cut into its rim towards its heading. Unlit, so that each shows its
// own colour exactly, and flat, so that nobody covers a wall or a neighbouring cell.

#include "ColourScales.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class TPersonDiscs {
public:
    // A little less than half a cell, so that a disc with its edge pixels stays inside its cell.
    static constexpr float Radius = 0.42f;
    // Above the map, the trails, the selected person's way and the region outlines.
    static constexpr float FloorHeight = 0.12f;
    static constexpr std::size_t RimPoints = 16;
    // The rim of a disc facing north at the origin, counter-clockwise from north; the point
    // towards the heading lies inward, which makes the notch.
    using TRim = std::array<std::array<float, 2>, RimPoints>;
    static const TRim& NorthRim();
    // The rim turned towards heading 1 .. 8 (any other heading faces north), around (x, y).
    static TRim RimAt(float x, float y, std::int32_t heading);

    // Forgets the persons added and keeps the memory for the next frame.
    void Clear();
    void Add(float x, float y, std::int32_t heading, TRgba colour);
    // A person too small on screen for its disc's shape to show, as one pixel at the middle of
    // its cell: a crowd of 100,000 seen whole would otherwise cost 48 vertices each.
    void AddDot(float x, float y, TRgba colour);
    // With the context current and the deck's coordinates set.
    void Draw() const;
    std::size_t VertexCount() const { return Positions.size() / 3; }

private:
    std::vector<float> Positions; // x, y, z a vertex, three vertices a triangle
    std::vector<TRgba> Colours;   // a colour a vertex
    std::vector<float> DotPositions;
    std::vector<TRgba> DotColours;
};
