#pragma once
// One deck of the project: its cell grid, the merged quad list drawn for it, and its lights.

#include "Light.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class IProgressWindow;
class IModelReports;

enum TCellKind : std::uint8_t {
    CellFree = 0,
    CellObstacle = 1,
    CellVoid = 4,
    CellGreen = 8,
    CellRed = 16,
    CellGrey = 32,
    CellBlue = 64,
};

struct TCell {
    bool Covered = false; // the cell already lies inside a quad
    std::uint8_t Kind = CellVoid;
};

// Colour, four vertices counter-clockwise seen from the normal's side, and the normal.
struct TQuad {
    float Color[3];
    float Vertex[4][3];
    float Normal[3];
};
static_assert(sizeof(TQuad) == 18 * sizeof(float));

class TDeck {
public:
    std::int32_t QuadCount = 0;
    std::int32_t CellCount = 0;
    std::int32_t MaxQuadExtent = 10;
    std::int32_t LightCount = 0;
    float WallHeight = 3.0f;
    std::string Caption;
    // Row-major: cell (x, y) is element y * XMax + x. It ends where the deck's cell data ended,
    // perhaps within a row: the cells past its end are void.
    std::vector<TCell> Cells;
    std::vector<TQuad> Quads;
    std::array<TLight, DeckLightSlots> Lights{};

    // Merges the cell grid into flat quads and obstacle boxes; run once, after all cells are read.
    void BuildQuadList(std::int32_t xMax, std::int32_t yMax, IProgressWindow& progress,
                       IModelReports& reports);

    // The even grid of up to eight lights a deck starts with.
    void PlaceInitialLights(std::int32_t xMax, std::int32_t yMax);
    // Switches on a free light at the point, or moves the nearest one there when all are on.
    void AddLightAt(float x, float y);
    // Switches off the light that is on and nearest to the point; nothing when none is on.
    void RemoveNearestLight(float x, float y);
};
