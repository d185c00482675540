#pragma once
// The persons of a deck as one array of triangles, each person an upright prism turned towards
// its heading. The eight turned prisms are made once; a frame only copies them to where each
// person stands, which keeps a crowd of 100,000 persons cheap to rebuild every frame.

#include "ColourScales.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A vertex of the persons' triangles: position x, y, z, then normal x, y, z.
struct TPrismVertex {
    float P[3];
    float N[3];
};

class TPersonPrisms {
public:
    static constexpr std::size_t VerticesPerPerson = 24;
    // How tall a person stands, in cells.
    static constexpr float Height = 6.0f;
    using TPrism = std::array<TPrismVertex, VerticesPerPerson>;

    // The prism of a person facing +y (north) at the origin: an equilateral triangle of side 1,
    // its apex towards +y, raised to a person's height; eight triangles.
    static const TPrism& Upright();
    // Rotation about z, in degrees, that turns a person facing north towards heading 1 .. 8;
    // none for any other heading.
    static std::optional<float> HeadingDegrees(std::int32_t heading);

    // Forgets the persons added and keeps the memory for the next frame.
    void Clear() { Used = 0; }
    // Where the eye is in deck coordinates, for the persons added from now on: a face of a
    // prism that clearly turns away from it is left out, as OpenGL would cull it, so that its
    // vertices cost nothing. Faces nearly edge-on are kept and left to OpenGL. None keeps all.
    void SetEye(const std::optional<std::array<float, 3>>& eye) { Eye = eye; }
    // Adds a person standing at (x, y) and facing the heading; a heading outside 1 .. 8 faces
    // north.
    void Add(float x, float y, std::int32_t heading);
    // The same in a colour of its own; a frame adds all its persons one way or the other.
    void AddShaded(float x, float y, std::int32_t heading, TRgba colour);
    const TPrismVertex* Data() const { return Vertices.data(); }
    // A colour a vertex, for persons added shaded.
    const TRgba* ColourData() const { return Colours.data(); }
    std::size_t VertexCount() const { return Used; }

private:
    void Grow();

    std::vector<TPrismVertex> Vertices; // only the first Used are the current persons
    std::vector<TRgba> Colours;         // as many as Vertices once a person was added shaded
    std::size_t Used = 0;
    std::optional<std::array<float, 3>> Eye;
};
