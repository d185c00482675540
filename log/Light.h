#pragma once
// One light source of a deck. A plain record: the view turns it into OpenGL state.

// Light slots of a deck: as many as fixed-function OpenGL guarantees.
constexpr int DeckLightSlots = 8;

struct TLight {
    bool SwitchedOn = false;
    float Ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    float Diffuse[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    float Specular[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    // Scene units in the deck's frame: x, y on the deck, 10 cells above the floor, positional.
    float Position[4] = {0.0f, 0.0f, 10.0f, 1.0f};

    friend bool operator==(const TLight&, const TLight&) = default;
};
