#pragma once
// Persons too small on screen for their prism's shape to show: a crowd of 100,000 seen whole
// puts a pixel or two to each, and the 24 vertices of a prism there cover about what a point of
// one pixel covers (a larger point covers clearly more than such a prism). Such persons are drawn
// as points of one pixel, lit as the prism's top, where the top is.

#include "ColourScales.h"

#include <array>
#include <cstddef>
#include <vector>

// Whether and how large things on the floor come out on screen in the frame being drawn.
class TScreenFootprint {
public:
    // From the matrices and the viewport set in the current context.
    static TScreenFootprint OfCurrentFrame();

    // Whether the prism of a person standing at (x, y) lies wholly beside, above or below the
    // view: every corner of a box around it beyond the same edge, as OpenGL's clipping would
    // find, so that nothing of it would be drawn.
    bool PrismOffScreen(float x, float y) const;

    // Pixels across the prism of a person standing at (x, y), height included: how far its
    // foot and its top lie apart on screen, plus the width of its footprint there. Large for
    // anything behind the eye.
    float PrismPixels(float x, float y) const;

private:
    using TClip = std::array<float, 4>;
    // Clip coordinates of the point (x, y, z) of the deck.
    TClip ClipOf(float x, float y, float z) const;
    // Clip coordinates of a step (x, y, z) from a point.
    TClip StepOf(float x, float y, float z) const;
    // Screen position in pixels, the view's centre at 0.
    std::array<float, 2> Pixel(const TClip& clip) const;

    std::array<float, 16> ModelViewProjection{}; // column-major, as OpenGL keeps it
    float HalfWidth = 0;
    float HalfHeight = 0;
    // The steps of a prism's height and of half its footprint east and north, the same for
    // every person of the frame.
    TClip Up{};
    TClip East{};
    TClip North{};
};

class TPersonDots {
public:
    // Below this many pixels across a person is a point.
    static constexpr float SmallestPrism = 3.0f;

    void Clear();
    // A person at (x, y), in its colour.
    void Add(float x, float y, TRgba colour);
    // With lighting as for the prisms, the colour taken as the material.
    void Draw() const;

private:
    std::vector<float> Positions; // x, y, z a point
    std::vector<TRgba> Colours;
};
