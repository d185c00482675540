#include "DeckGeometry.h"

#include <algorithm>
#include <cstddef>

#include <GL/gl.h>

namespace {

constexpr std::size_t QuadsPerPiece = std::size_t{1} << 16;
constexpr std::size_t VerticesPerQuad = 4;

void AppendQuadVertices(std::vector<TDeckVertex>& vertices, const TQuad& quad) {
    for (const auto& position : quad.Vertex) {
        vertices.push_back({{quad.Color[0], quad.Color[1], quad.Color[2]},
                            {quad.Normal[0], quad.Normal[1], quad.Normal[2]},
                            {position[0], position[1], position[2]}});
    }
}

// The name of a new buffer holding the vertices, or 0 when none could be made.
GLuint UploadedBuffer(const std::vector<TDeckVertex>& vertices) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    if (buffer == 0) {
        return 0;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(TDeckVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

const void* OffsetOf(std::size_t bytes) {
    return reinterpret_cast<const void*>(bytes);
}

} // namespace

void TDeckGeometry::Build(const std::vector<TQuad>& quads) {
    Release();
    std::vector<TDeckVertex> staging;
    staging.reserve(std::min(quads.size(), QuadsPerPiece) * VerticesPerQuad);
    for (std::size_t first = 0; first < quads.size(); first += QuadsPerPiece) {
        const std::size_t last = std::min(quads.size(), first + QuadsPerPiece);
        staging.clear();
        for (std::size_t i = first; i < last; ++i) {
            AppendQuadVertices(staging, quads[i]);
        }
        // A buffer that cannot be made leaves its part of the deck undrawn, not the view stopped.
        const GLuint buffer = UploadedBuffer(staging);
        if (buffer != 0) {
            Pieces.push_back({buffer, static_cast<int>(staging.size())});
        }
    }
}

void TDeckGeometry::Release() {
    for (const TPiece& piece : Pieces) {
        glDeleteBuffers(1, &piece.Buffer);
    }
    Pieces.clear();
}

void TDeckGeometry::Draw() const {
    for (const TPiece& piece : Pieces) {
        glBindBuffer(GL_ARRAY_BUFFER, piece.Buffer);
        DrawBound(GL_QUADS, piece.VertexCount);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TDeckGeometry::DrawBound(unsigned mode, int count) {
    constexpr GLsizei stride = sizeof(TDeckVertex);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColorPointer(3, GL_FLOAT, stride, OffsetOf(offsetof(TDeckVertex, Color)));
    glNormalPointer(GL_FLOAT, stride, OffsetOf(offsetof(TDeckVertex, Normal)));
    glVertexPointer(3, GL_FLOAT, stride, OffsetOf(offsetof(TDeckVertex, Position)));
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}
