#include "RegionOutlines.h"

#include "PersonData.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float OutlineHeight = 0.1f; // above the map, the trails and a selected person's way
constexpr float ChosenHeight = 0.12f; // above the other outlines, which it may run along

bool InRegion(const std::vector<std::int32_t>& cells, std::int64_t x, std::int64_t y,
              std::int32_t xMax, std::int32_t yMax) {
    return x >= 0 && y >= 0 && x < xMax && y < yMax &&
           std::ranges::binary_search(cells, static_cast<std::int32_t>(y * xMax + x));
}

TRegionOutlines NoOutlines(std::int32_t decks) {
    TRegionOutlines outlines;
    outlines.Lines.resize(static_cast<std::size_t>(std::max(decks, 0)));
    outlines.Kinds.resize(outlines.Lines.size());
    return outlines;
}

void AddOutline(const TCongestionRegion& region, TOutlineKind kind, std::int32_t xMax,
                std::int32_t yMax, TRegionOutlines& outlines) {
    if (region.Deck < 0 || region.Deck >= std::ssize(outlines.Lines) || xMax <= 0) {
        return;
    }
    std::vector<float>& lines = outlines.Lines[static_cast<std::size_t>(region.Deck)];
    std::vector<TOutlineKind>& kinds = outlines.Kinds[static_cast<std::size_t>(region.Deck)];
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
                kinds.push_back(kind);
            }
        };
        edge(x, y - 1, left, top, right, top);
        edge(x, y + 1, left, bottom, right, bottom);
        edge(x - 1, y, left, bottom, left, top);
        edge(x + 1, y, right, bottom, right, top);
    }
}

// The lines of the deck whose kind is chosen or not, at their height.
void DrawLines(const std::vector<float>& lines, const std::vector<TOutlineKind>& kinds,
               bool chosen) {
    glLineWidth(chosen ? 5.0f : 3.0f);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 3 < lines.size(); i += 4) {
        const TOutlineKind kind = kinds[i / 4];
        if ((kind == TOutlineKind::Chosen) != chosen) {
            continue;
        }
        if (kind == TOutlineKind::Chosen) {
            glColor3ub(0, 230, 255);
        } else if (kind == TOutlineKind::Significant) {
            glColor3ub(255, 0, 255);
        } else {
            glColor3ub(255, 200, 0);
        }
        const float height = chosen ? ChosenHeight : OutlineHeight;
        glVertex3f(lines[i], lines[i + 1], height);
        glVertex3f(lines[i + 2], lines[i + 3], height);
    }
    glEnd();
}

} // namespace

TRegionOutlines OutlinesOf(const TCongestionReport& report, std::int32_t xMax, std::int32_t yMax,
                           std::int32_t decks) {
    TRegionOutlines outlines = NoOutlines(decks);
    for (const TCongestionRegion& region : report.Regions) {
        AddOutline(region, region.Significant ? TOutlineKind::Significant : TOutlineKind::Plain,
                   xMax, yMax, outlines);
    }
    return outlines;
}

TRegionOutlines ChosenOutlineOf(const TCongestionReport& report, std::size_t region,
                                std::int32_t xMax, std::int32_t yMax, std::int32_t decks) {
    TRegionOutlines outlines = NoOutlines(decks);
    if (region < report.Regions.size()) {
        AddOutline(report.Regions[region], TOutlineKind::Chosen, xMax, yMax, outlines);
    }
    return outlines;
}

TRegionOutlines JoinedOutlines(const TRegionOutlines& first, const TRegionOutlines& second) {
    TRegionOutlines joined = first;
    joined.Lines.resize(std::max(first.Lines.size(), second.Lines.size()));
    joined.Kinds.resize(joined.Lines.size());
    for (std::size_t deck = 0; deck < second.Lines.size(); ++deck) {
        joined.Lines[deck].insert(joined.Lines[deck].end(), second.Lines[deck].begin(),
                                  second.Lines[deck].end());
        joined.Kinds[deck].insert(joined.Kinds[deck].end(), second.Kinds[deck].begin(),
                                  second.Kinds[deck].end());
    }
    return joined;
}

bool InAnyRegion(const TCongestionReport& report, std::int32_t deck, std::int32_t x, std::int32_t y,
                 std::int32_t xMax) {
    return std::ranges::any_of(report.Regions, [&](const TCongestionRegion& region) {
        return region.Deck == deck && x >= region.X0 && x <= region.X1 && y >= region.Y0 &&
               y <= region.Y1 &&
               std::ranges::binary_search(region.Cells, static_cast<std::int32_t>(y * xMax + x));
    });
}

void DrawRegionOutlines(const TRegionOutlines& outlines, std::int32_t deck) {
    if (deck < 0 || static_cast<std::size_t>(deck) >= outlines.Lines.size()) {
        return;
    }
    const std::vector<float>& lines = outlines.Lines[static_cast<std::size_t>(deck)];
    const std::vector<TOutlineKind>& kinds = outlines.Kinds[static_cast<std::size_t>(deck)];
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    DrawLines(lines, kinds, false);
    DrawLines(lines, kinds, true);
    glPopAttrib();
}
