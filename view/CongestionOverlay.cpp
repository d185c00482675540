#include "CongestionOverlay.h"

#include "ColourScales.h"

#include <algorithm>

#include <GL/gl.h>

namespace {

constexpr std::int32_t TileCells = 2048;
// Above the floor, which lies at 0, and below anything standing on it.
constexpr float OverlayHeight = 0.02f;

// The texels of the cells [x0, x0 + w) x [y0, y0 + h), row 0 first.
std::vector<TRgba> TileTexels(const std::vector<float>& seconds, std::int32_t width, float most,
                              std::int32_t x0, std::int32_t y0, std::int32_t w, std::int32_t h) {
    std::vector<TRgba> texels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            const float cell =
                seconds[static_cast<std::size_t>(y0 + y) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(x0 + x)];
            texels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                   static_cast<std::size_t>(x)] = CongestionColour(most > 0 ? cell / most : 0);
        }
    }
    return texels;
}

GLuint UploadedTexture(const std::vector<TRgba>& texels, std::int32_t w, std::int32_t h) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

} // namespace

void TCongestionOverlay::Build(const TCongestionMap& map, std::int32_t deck) {
    Release();
    if (deck < 0 || static_cast<std::size_t>(deck) >= map.StandingSeconds.size()) {
        return;
    }
    const std::vector<float>& seconds = map.StandingSeconds[static_cast<std::size_t>(deck)];
    if (seconds.empty()) {
        return; // nobody stood on this deck
    }
    const float most = map.ScaleTop; // one scale for every deck
    // Cell (x, y) spans x - W/2 .. x - W/2 + 1 across and H/2 - y - 1 .. H/2 - y along, as the
    // persons' cell centres do.
    const auto left = static_cast<float>(-(map.Width / 2));
    const auto top = static_cast<float>(map.Height / 2);
    for (std::int32_t y0 = 0; y0 < map.Height; y0 += TileCells) {
        for (std::int32_t x0 = 0; x0 < map.Width; x0 += TileCells) {
            const std::int32_t w = std::min(TileCells, map.Width - x0);
            const std::int32_t h = std::min(TileCells, map.Height - y0);
            const GLuint texture =
                UploadedTexture(TileTexels(seconds, map.Width, most, x0, y0, w, h), w, h);
            if (texture != 0) {
                Tiles.push_back({texture, left + static_cast<float>(x0),
                                 top - static_cast<float>(y0), left + static_cast<float>(x0 + w),
                                 top - static_cast<float>(y0 + h)});
            }
        }
    }
}

void TCongestionOverlay::Release() {
    for (const TTile& tile : Tiles) {
        glDeleteTextures(1, &tile.Texture);
    }
    Tiles.clear();
}

void TCongestionOverlay::Draw() const {
    if (Tiles.empty()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (const TTile& tile : Tiles) {
        glBindTexture(GL_TEXTURE_2D, tile.Texture);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(tile.X0, tile.Y0, OverlayHeight);
        glTexCoord2f(0, 1);
        glVertex3f(tile.X0, tile.Y1, OverlayHeight);
        glTexCoord2f(1, 1);
        glVertex3f(tile.X1, tile.Y1, OverlayHeight);
        glTexCoord2f(1, 0);
        glVertex3f(tile.X1, tile.Y0, OverlayHeight);
        glEnd();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
}
