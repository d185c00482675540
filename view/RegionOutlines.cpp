#include "RegionOutlines.h"

#include "PersonData.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float OutlineHeight = 0.1f; // above the map, the trails and a selected person's way

bool InRegion(const std::vector<std::int32_t>& cells, std::int64_t x, std::int64_t y,
              std::int32_t xMax, std::int32_t yMax) {
    return x >= 0 && y >= 0 && x < xMax && y < yMax &&
           std::ranges::binary_search(cells, static_cast<std::int32_t>(y * xMax + x));
}

} // namespace

TRegionOutlines OutlinesOf(const TCongestionReport& report, std::int32_t xMax, std::int32_t yMax,
                           std::int32_t decks) {
    TRegionOutlines outlines;
    outlines.Lines.resize(static_cast<std::size_t>(std::max(decks, 0)));
    outlines.Significant.resize(outlines.Lines.size());
    for (const TCongestionRegion& region : report.Regions) {
        if (region.Deck < 0 || region.Deck >= decks || xMax <= 0) {
            continue;
        }
        std::vector<float>& lines = outlines.Lines[static_cast<std::size_t>(region.Deck)];
        std::vector<bool>& significant =
            outlines.Significant[static_cast<std::size_t>(region.Deck)];
        for (const std::int32_t cell : region.Cells) {
            const std::int32_t x = cell % xMax;
            const std::int32_t y = cell / xMax;
            // The cell's corners in deck coordinates: its centre half a cell either way; row y
            // grows toward -y.
            const float left = CellCentreX(x, xMax) - 0.5f;
            const float right = left + 1.0f;
            const float top = CellCentreY(y, yMax) + 0.5f;
            const float bottom = top - 1.0f;
            const auto edge = [&](std::int64_t nx, std::int64_t ny, float x0, float y0, float x1,
                                  float y1) {
                if (!InRegion(region.Cells, nx, ny, xMax, yMax)) {
                    lines.insert(lines.end(), {x0, y0, x1, y1});
                    significant.push_back(region.Significant);
                }
            };
            edge(x, y - 1, left, top, right, top);
            edge(x, y + 1, left, bottom, right, bottom);
            edge(x - 1, y, left, bottom, left, top);
            edge(x + 1, y, right, bottom, right, top);
        }
    }
    return outlines;
}

void DrawRegionOutlines(const TRegionOutlines& outlines, std::int32_t deck) {
    if (deck < 0 || static_cast<std::size_t>(deck) >= outlines.Lines.size()) {
        return;
    }
    const std::vector<float>& lines = outlines.Lines[static_cast<std::size_t>(deck)];
    const std::vector<bool>& significant = outlines.Significant[static_cast<std::size_t>(deck)];
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(3.0f);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 3 < lines.size(); i += 4) {
        if (significant[i / 4]) {
            glColor3ub(255, 0, 255);
        } else {
            glColor3ub(255, 200, 0);
        }
        glVertex3f(lines[i], lines[i + 1], OutlineHeight);
        glVertex3f(lines[i + 2], lines[i + 3], OutlineHeight);
    }
    glEnd();
    glPopAttrib();
}
