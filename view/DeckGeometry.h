#pragma once
// A deck's quads held in vertex buffers on the graphics side: built once when the deck is shown
// and drawn with one call a buffer, instead of sending every vertex again each frame.

#include "Deck.h"

#include <vector>

// A vertex as the fixed pipeline takes it from a buffer: colour, normal, position.
struct TDeckVertex {
    float Color[3];
    float Normal[3];
    float Position[3];
};

class TDeckGeometry {
public:
    // Build and Release need the drawing context current. Build replaces what was built.
    void Build(const std::vector<TQuad>& quads);
    void Release();
    // Nothing is drawn before the first Build.
    void Draw() const;

    // Draws the first count vertices of the vertex buffer bound, laid out as TDeckVertex, as
    // primitives of the OpenGL mode.
    static void DrawBound(unsigned mode, int count);

private:
    struct TPiece {
        unsigned Buffer;
        int VertexCount;
    };
    // A large deck goes into several buffers, so that no size passes what one call takes and the
    // staging copy in main memory stays small.
    std::vector<TPiece> Pieces;
};
