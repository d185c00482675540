#pragma once
// The congestion map of one deck as textures laid over its floor: one texel a cell, in the
// colours of the congestion scale. Built once when the map or the deck shown changes.

#include "EvacuationAnalysis.h"

#include <cstdint>
#include <vector>

class TCongestionOverlay {
public:
    // Build and Release need the drawing context current. Build replaces what was built.
    void Build(const TCongestionMap& map, std::int32_t deck);
    void Release();
    // Drawn unlit and blended just above the floor; nothing before the first Build.
    void Draw() const;

private:
    // A large deck goes into tiles, so that no texture passes what every driver takes.
    struct TTile {
        unsigned Texture;
        float X0, Y0, X1, Y1; // deck coordinates of the tile's corners
    };
    std::vector<TTile> Tiles;
};
