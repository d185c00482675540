#include "Deck.h"

#include "ModelReports.h"
#include "ModelViews.h"

#include <algorithm>
#include <cstddef>

namespace {

struct TQuadEdges {
    float X0, X1, Yt, Yb;
};

struct TRgb {
    float R, G, B;
};

TRgb FlatColour(std::uint8_t kind) {
    switch (kind) {
    case CellGreen:
        return {0.63f, 1.0f, 0.63f};
    case CellRed:
        return {1.0f, 0.63f, 0.63f};
    case CellGrey:
        return {0.66f, 0.66f, 0.66f};
    case CellBlue:
        return {0.78f, 0.78f, 1.0f};
    default:
        return {1.0f, 1.0f, 1.0f};
    }
}

void AppendFlatQuad(std::vector<TQuad>& quads, const TQuadEdges& e, std::uint8_t kind) {
    const TRgb c = FlatColour(kind);
    quads.push_back(TQuad{{c.R, c.G, c.B},
                          {{e.X0, e.Yt, 0}, {e.X0, e.Yb, 0}, {e.X1, e.Yb, 0}, {e.X1, e.Yt, 0}},
                          {0, 0, 1}});
}

void AppendObstacleBox(std::vector<TQuad>& quads, const TQuadEdges& e, float h) {
    constexpr float dark = 0.2f;
    constexpr float sideX = 0.8f;
    constexpr float sideY = 0.75f;
    const TQuad box[6] = {
        {{dark, dark, dark},
         {{e.X0, e.Yt, 0}, {e.X1, e.Yt, 0}, {e.X1, e.Yb, 0}, {e.X0, e.Yb, 0}},
         {0, 0, -1}},
        {{sideX, sideX, sideX},
         {{e.X0, e.Yt, h}, {e.X0, e.Yt, 0}, {e.X0, e.Yb, 0}, {e.X0, e.Yb, h}},
         {-1, 0, 0}},
        {{sideX, sideX, sideX},
         {{e.X1, e.Yt, h}, {e.X1, e.Yb, h}, {e.X1, e.Yb, 0}, {e.X1, e.Yt, 0}},
         {1, 0, 0}},
        {{sideY, sideY, sideY},
         {{e.X0, e.Yt, h}, {e.X1, e.Yt, h}, {e.X1, e.Yt, 0}, {e.X0, e.Yt, 0}},
         {0, 1, 0}},
        {{sideY, sideY, sideY},
         {{e.X0, e.Yb, h}, {e.X0, e.Yb, 0}, {e.X1, e.Yb, 0}, {e.X1, e.Yb, h}},
         {0, -1, 0}},
        {{dark, dark, dark},
         {{e.X0, e.Yt, h}, {e.X0, e.Yb, h}, {e.X1, e.Yb, h}, {e.X1, e.Yt, h}},
         {0, 0, 1}},
    };
    quads.insert(quads.end(), std::begin(box), std::end(box));
}

// Finds the block of equal kind that starts at (x0, y0) and marks it covered. Only the kind is
// compared: a cell that an earlier quad covers is taken in again, so quads may overlap. The grid
// holds the cells its data gave, row after row: its last row may be short, and the cells past it
// are void.
class TBlockFinder {
public:
    TBlockFinder(std::vector<TCell>& cells, std::int32_t w, std::int32_t maxExtent)
        : Cells(cells), W(w),
          H(static_cast<std::int32_t>((static_cast<std::int64_t>(cells.size()) + w - 1) / w)),
          M(maxExtent) {}

    std::int32_t Rows() const { return H; }

    // The cells of row y that the grid holds.
    std::int32_t RowLength(std::int32_t y) const {
        const std::int64_t left = static_cast<std::int64_t>(Cells.size()) - std::int64_t{y} * W;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(left, 0, W));
    }

    std::int32_t RightEdge(std::int32_t x0, std::int32_t y0, std::uint8_t kind) const {
        const TCell* row = RowAt(y0);
        const std::int32_t length = RowLength(y0);
        std::int32_t x1 = x0;
        while (x1 + 1 < length && x1 + 1 - x0 < M && row[x1 + 1].Kind == kind) {
            ++x1;
        }
        return x1;
    }

    std::int32_t BottomEdge(std::int32_t x0, std::int32_t x1, std::int32_t y0,
                            std::uint8_t kind) const {
        std::int32_t y1 = y0;
        while (y1 + 1 < H && y1 + 1 - y0 < M && RowIsAll(y1 + 1, x0, x1, kind)) {
            ++y1;
        }
        return y1;
    }

    void MarkCovered(std::int32_t x0, std::int32_t x1, std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y <= y1; ++y) {
            TCell* row = RowAt(y);
            for (std::int32_t x = x0; x <= x1; ++x) {
                row[x].Covered = true;
            }
        }
    }

    TCell* RowAt(std::int32_t y) const { return Cells.data() + static_cast<std::ptrdiff_t>(y) * W; }

private:
    bool RowIsAll(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t kind) const {
        if (x1 >= RowLength(y)) {
            return false;
        }
        const TCell* row = RowAt(y);
        for (std::int32_t x = x0; x <= x1; ++x) {
            if (row[x].Kind != kind) {
                return false;
            }
        }
        return true;
    }

    std::vector<TCell>& Cells;
    std::int32_t W, H, M;
};

} // namespace

void TDeck::BuildQuadList(std::int32_t xMax, std::int32_t yMax, IProgressWindow& progress,
                          IModelReports& reports) {
    Quads.clear();
    QuadCount = 0;
    if (xMax <= 0 || yMax <= 0) {
        return;
    }
    const std::int32_t hx = xMax / 2;
    const std::int32_t hy = yMax / 2;
    TBlockFinder finder(Cells, xMax, MaxQuadExtent);
    const std::int32_t rows = std::min(finder.Rows(), yMax);
    int shownPercent = -1;
    for (std::int32_t y = 0; y < rows; ++y) {
        // The bar follows whole rows: a call per cell would cost more than the merge itself.
        progress.Show();
        const int percent = static_cast<int>(std::int64_t{y} * 100 / rows);
        if (percent != shownPercent) {
            progress.SetProgress(percent);
            shownPercent = percent;
        }
        reports.Breathe(TWorkPoint::InProgress);
        const TCell* row = finder.RowAt(y);
        const std::int32_t length = finder.RowLength(y);
        for (std::int32_t x = 0; x < length;) {
            const TCell cell = row[x];
            if (cell.Kind == CellVoid || cell.Covered) {
                ++x;
                continue;
            }
            const std::int32_t x1 = finder.RightEdge(x, y, cell.Kind);
            const std::int32_t y1 = finder.BottomEdge(x, x1, y, cell.Kind);
            finder.MarkCovered(x, x1, y, y1);
            const TQuadEdges edges{static_cast<float>(x - hx), static_cast<float>(x1 + 1 - hx),
                                   static_cast<float>(hy - y), static_cast<float>(hy - (y1 + 1))};
            if (cell.Kind == CellObstacle) {
                AppendObstacleBox(Quads, edges, WallHeight);
            } else {
                AppendFlatQuad(Quads, edges, cell.Kind);
            }
            x = x1 + 1;
        }
    }
    progress.SetProgress(100);
    QuadCount = static_cast<std::int32_t>(Quads.size());
}
