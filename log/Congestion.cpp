#include "Congestion.h"

#include "BlockLists.h"
#include "LogFile.h"
#include "PersonData.h"
#include "Replay.h"
#include "WalkerQueue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <span>
#include <thread>
#include <tuple>
#include <utility>

namespace {

bool IsWalkable(const TCell& cell) {
    return (cell.Kind & (CellObstacle | CellVoid)) == 0;
}

// One deck's cells as the density sees them, made when the first person comes onto the deck.
struct TDeckField {
    // The window centred on each cell as every change of place reads it, in eight bytes so that
    // a tile's windows stay in the nearest cache: the persons it lacks to be congested (its need
    // less its count; 0 or less while congested, more than can be for a cell that is not
    // walkable), and the most persons it held beyond its need while congested (-1 before).
    struct TWindow {
        std::int32_t Lacking = std::numeric_limits<std::int32_t>::max();
        std::int32_t PeakExcess = -1;
    };
    std::vector<TWindow> Windows;
    // Walkable cells in each window, and the persons that make it congested.
    std::vector<std::int32_t> Walkable;
    std::vector<std::int32_t> Need;
    // The step the cell's current congestion began, or -1; the step its peak was first seen.
    std::vector<std::int32_t> CongestedSince;
    std::vector<std::int32_t> PeakStep;
    // The step at which the cell was last put on the list to look at again.
    std::vector<std::int32_t> Listed;
    // The persons on each cell.
    std::vector<std::int32_t> Persons;
};

// A stretch of steps, both included, at which a cell was congested.
struct TCellStretch {
    std::int32_t Deck;
    std::int32_t Cell;
    std::int32_t First;
    std::int32_t Last;
};

// The cell a person stands on, or none (Deck -1) off the decks and grids.
struct TCellChange {
    std::int32_t Deck = -1;
    std::int32_t X = 0;
    std::int32_t Y = 0;

    bool IsCell() const { return Deck >= 0; }
};

// A person's change of place: off a cell, onto a cell, or both.
struct TPlaceChange {
    TCellChange From;
    TCellChange To;
};

// A change of place as a tile sees it, in twelve bytes: the cell left or reached on the tile's
// deck, which side or sides of the change lie on that deck, the step from the cell left to the
// cell reached when both do (each of X and Y moves by at most one), and the step it happens at,
// counted from the first of its stretch.
class TTileChange {
public:
    static constexpr std::uint8_t FromHere = 1;
    static constexpr std::uint8_t ToHere = 2;

    TTileChange() = default;
    TTileChange(std::int32_t x, std::int32_t y, std::uint8_t sides, std::int32_t dx,
                std::int32_t dy, std::int64_t step)
        : X(x), Y(y), Step(static_cast<std::uint8_t>(step)),
          Bits(static_cast<std::uint8_t>(sides | (dx + 1) << 2 | (dy + 1) << 4)) {}

    std::uint8_t StepInStretch() const { return Step; }
    bool Leaves() const { return (Bits & FromHere) != 0; }
    bool Reaches() const { return (Bits & ToHere) != 0; }
    bool StaysOnDeck() const { return (Bits & (FromHere | ToHere)) == (FromHere | ToHere); }
    // The cell left, or the cell reached when the change only reaches the deck.
    std::int32_t FirstX() const { return X; }
    std::int32_t FirstY() const { return Y; }
    // From the cell left to the cell reached, while it stays on the deck.
    std::int32_t Dx() const { return (Bits >> 2 & 3) - 1; }
    std::int32_t Dy() const { return (Bits >> 4 & 3) - 1; }

private:
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint8_t Step = 0;
    std::uint8_t Bits = 0;
};

// The windows of every deck persons come onto. The decks are cut into square tiles, measured
// each on its own: a window's count changes only with the persons within half a window of it, so
// a tile's windows need only the changes near the tile, and stay in the processor's cache while
// a stretch of steps is applied to them.
class TDensityField {
public:
    static constexpr std::int64_t TileCells = 64;

    // A tile's windows: those centred on its cells, both ends included.
    struct TTile {
        std::int32_t Deck;
        std::int64_t X0, X1, Y0, Y1;
    };

    TDensityField(const TLogFile& project, const TAnalysisSettings& settings)
        : Fields(static_cast<std::size_t>(
              std::min<std::int64_t>(std::ssize(project.Decks), std::max(project.ZMax, 0)))),
          // A header may announce a negative size: no cell, and no tile, then.
          Project(project), Width(std::max(project.XMax, 0)), Height(std::max(project.YMax, 0)),
          Half(settings.WindowCells() / 2), CellMm(settings.CellSizeMm),
          Tenths(settings.CongestionDensityTenths), TilesX((Width + TileCells - 1) / TileCells),
          TilesY((Height + TileCells - 1) / TileCells),
          Made(std::make_unique<std::once_flag[]>(Fields.size())) {}

    // The cell of a place, or none off the decks and grids.
    TCellChange CellOf(std::int32_t level, std::int64_t x, std::int64_t y) const {
        if (level < 0 || level >= std::ssize(Fields) || x < 0 || y < 0 || x >= Width ||
            y >= Height) {
            return {};
        }
        return TCellChange{level, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    }

    // Makes the deck's windows the first time a person comes onto the deck; from any thread.
    void Prepare(std::int32_t deck) {
        std::call_once(Made[static_cast<std::size_t>(deck)],
                       [this, deck] { Prepare(deck, Fields[static_cast<std::size_t>(deck)]); });
    }
    TDeckField& operator[](std::int32_t deck) { return Fields[static_cast<std::size_t>(deck)]; }
    const std::vector<TDeckField>& Decks() const { return Fields; }

    std::int64_t WindowHalf() const { return Half; }
    std::int64_t DeckWidth() const { return Width; }
    std::int64_t DeckHeight() const { return Height; }

    std::size_t TileCount() const {
        return Fields.size() * static_cast<std::size_t>(TilesX * TilesY);
    }
    TTile Tile(std::size_t id) const {
        const auto perDeck = static_cast<std::size_t>(TilesX * TilesY);
        const auto inDeck = static_cast<std::int64_t>(id % perDeck);
        const std::int64_t x0 = inDeck % TilesX * TileCells;
        const std::int64_t y0 = inDeck / TilesX * TileCells;
        return {static_cast<std::int32_t>(id / perDeck), x0, std::min(x0 + TileCells, Width) - 1,
                y0, std::min(y0 + TileCells, Height) - 1};
    }
    // Calls visit(tile) for every tile holding windows that count a person on a cell of the
    // deck from x0, y0 to x1, y1.
    template <typename TVisit>
    void ForEachTileNear(std::int32_t deck, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                         std::int64_t y1, TVisit visit) const {
        const std::int64_t tx1 = std::min(x1 + Half, Width - 1) / TileCells;
        const std::int64_t ty1 = std::min(y1 + Half, Height - 1) / TileCells;
        const auto deckTiles =
            static_cast<std::size_t>(deck) * static_cast<std::size_t>(TilesX * TilesY);
        for (std::int64_t ty = std::max<std::int64_t>(y0 - Half, 0) / TileCells; ty <= ty1; ++ty) {
            for (std::int64_t tx = std::max<std::int64_t>(x0 - Half, 0) / TileCells; tx <= tx1;
                 ++tx) {
                visit(deckTiles + static_cast<std::size_t>(ty * TilesX + tx));
            }
        }
    }

private:
    // The walkable cells of each window by a table of sums, and the persons each window needs:
    // the fewest k with k / (walkable x cell area) above the threshold, in whole numbers.
    void Prepare(std::int32_t deck, TDeckField& field) const {
        const auto cells = static_cast<std::size_t>(Width * Height);
        const std::vector<TCell>& grid = Project.Decks[static_cast<std::size_t>(deck)].Cells;
        std::vector<std::int32_t> sums(static_cast<std::size_t>((Width + 1) * (Height + 1)), 0);
        const auto at = [&](std::int64_t x, std::int64_t y) -> std::int32_t& {
            return sums[static_cast<std::size_t>(y * (Width + 1) + x)];
        };
        for (std::int64_t y = 0; y < Height; ++y) {
            for (std::int64_t x = 0; x < Width; ++x) {
                const auto cell = static_cast<std::size_t>(y * Width + x);
                const bool walkable = cell < grid.size() && IsWalkable(grid[cell]);
                at(x + 1, y + 1) = at(x, y + 1) + at(x + 1, y) - at(x, y) + (walkable ? 1 : 0);
            }
        }
        field.Windows.assign(cells, {});
        field.Walkable.assign(cells, 0);
        field.Need.assign(cells, 0);
        field.CongestedSince.assign(cells, -1);
        field.PeakStep.assign(cells, 0);
        field.Listed.assign(cells, -1);
        field.Persons.assign(cells, 0);
        const std::int64_t areaTerm = std::int64_t{Tenths} * CellMm * CellMm;
        for (std::int64_t y = 0; y < Height; ++y) {
            for (std::int64_t x = 0; x < Width; ++x) {
                const auto cell = static_cast<std::size_t>(y * Width + x);
                if (cell >= grid.size() || !IsWalkable(grid[cell])) {
                    continue;
                }
                const std::int64_t x0 = std::max<std::int64_t>(x - Half, 0);
                const std::int64_t y0 = std::max<std::int64_t>(y - Half, 0);
                const std::int64_t x1 = std::min<std::int64_t>(x + Half, Width - 1) + 1;
                const std::int64_t y1 = std::min<std::int64_t>(y + Half, Height - 1) + 1;
                const std::int32_t walkable = at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
                field.Walkable[cell] = walkable;
                // k x 10^7 > tenths x walkable x mm²: persons/m² in tenths against the threshold.
                const std::int64_t need = areaTerm * walkable / 10'000'000 + 1;
                field.Need[cell] = static_cast<std::int32_t>(
                    std::min<std::int64_t>(need, std::numeric_limits<std::int32_t>::max()));
                field.Windows[cell].Lacking = field.Need[cell];
            }
        }
    }

    std::vector<TDeckField> Fields;
    const TLogFile& Project;
    std::int64_t Width;
    std::int64_t Height;
    std::int64_t Half;
    std::int32_t CellMm;
    std::int32_t Tenths;
    std::int64_t TilesX;
    std::int64_t TilesY;
    std::unique_ptr<std::once_flag[]> Made; // by deck
};

// The more persons on one cell, or as many earlier, on a lower deck, row or column.
void TakeIfMore(TSharedCells& most, const TSharedCells& other) {
    if (std::tuple(-other.MostPersons, other.Step, other.Deck, other.Y, other.X) <
        std::tuple(-most.MostPersons, most.Step, most.Deck, most.Y, most.X)) {
        const std::int64_t steps = most.CellSteps;
        most = other;
        most.CellSteps = steps;
    }
}

// What each core changes lies in lines of memory of its own.
constexpr std::size_t CacheLine = 64;

// Runs work(0) .. work(count - 1) at once, work(0) on this thread.
template <typename TWork> void RunSideBySide(std::size_t count, TWork work) {
    std::vector<std::future<void>> running;
    for (std::size_t k = 1; k < count; ++k) {
        running.push_back(std::async(std::launch::async, work, k));
    }
    work(std::size_t{0});
    for (std::future<void>& other : running) {
        other.get();
    }
}

// The changes a share of the persons makes in a stretch of steps, handed to the tiles they touch.
class alignas(CacheLine) TChangesByTile {
public:
    explicit TChangesByTile(TDensityField& field)
        : Field(&field), Near(field.TileCount()), Seen(field.Decks().size(), false) {}

    // The changes handed to a tile.
    std::size_t Size(std::size_t tile) const { return Near.Size(tile); }
    template <typename TVisit> void ForEach(std::size_t tile, TVisit visit) const {
        Near.ForEach(tile, visit);
    }
    // The tiles handed any.
    const std::vector<std::size_t>& Touched() const { return Near.Keys(); }

    void Clear() { Near.Clear(); }

    // A change at the step, counted from the first of the stretch.
    void Add(std::int64_t step, const TPlaceChange& change) {
        static_assert(TWalkerQueue::ChunkSteps <= 256);
        const TCellChange& from = change.From;
        const TCellChange& to = change.To;
        if (from.IsCell() && to.IsCell() && from.Deck == to.Deck) {
            Put(from.Deck, std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X),
                std::max(from.Y, to.Y),
                {from.X, from.Y, TTileChange::FromHere | TTileChange::ToHere, to.X - from.X,
                 to.Y - from.Y, step});
            return;
        }
        if (from.IsCell()) {
            Put(from.Deck, from.X, from.Y, from.X, from.Y,
                {from.X, from.Y, TTileChange::FromHere, 0, 0, step});
        }
        if (to.IsCell()) {
            Put(to.Deck, to.X, to.Y, to.X, to.Y, {to.X, to.Y, TTileChange::ToHere, 0, 0, step});
        }
    }

private:
    // Hands the change to the tiles near cells from x0, y0 to x1, y1 of the deck.
    void Put(std::int32_t deck, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
             const TTileChange& change) {
        if (!Seen[static_cast<std::size_t>(deck)]) {
            Seen[static_cast<std::size_t>(deck)] = true;
            Field->Prepare(deck);
        }
        Field->ForEachTileNear(deck, x0, y0, x1, y1,
                               [&](std::size_t tile) { Near.Push(tile, change); });
    }

    TDensityField* Field;
    TBlockLists<TTileChange> Near; // by tile
    std::vector<bool> Seen;        // decks this share has made sure are prepared
};

// Measures tiles one at a time: applies the changes of place near a tile to the tile's windows,
// step by step, and keeps the stretches at which its cells were congested.
class alignas(CacheLine) TTileWorker {
public:
    explicit TTileWorker(TDensityField& field) : Field(field) {}

    // The changes near the tile in a stretch of ChunkSteps steps from the first. All leaving
    // first, then all arriving, so that no count passes through a value the step does not end
    // with.
    void Measure(std::size_t tile, const std::vector<TChangesByTile>& shares, std::int64_t first) {
        Tile = Field.Tile(tile);
        InStepOrder(tile, shares);
        for (std::size_t begin = 0; begin < Sorted.size();) {
            const std::uint8_t at = Sorted[begin].StepInStretch();
            const auto step = static_cast<std::int32_t>(first + at);
            std::size_t end = begin;
            while (end < Sorted.size() && Sorted[end].StepInStretch() == at) {
                ++end;
            }
            for (std::size_t k = begin; k < end; ++k) {
                const TTileChange& change = Sorted[k];
                if (change.Leaves()) {
                    AddAround<-1>(change.FirstX(), change.FirstY(), change, step);
                    CountOnCell<-1>(change.FirstX(), change.FirstY(), step);
                }
            }
            for (std::size_t k = begin; k < end; ++k) {
                const TTileChange& change = Sorted[k];
                if (change.Reaches()) {
                    const bool stays = change.StaysOnDeck();
                    const std::int64_t x = change.FirstX() + (stays ? change.Dx() : 0);
                    const std::int64_t y = change.FirstY() + (stays ? change.Dy() : 0);
                    AddAround<+1>(x, y, change, step);
                    CountOnCell<+1>(x, y, step);
                }
            }
            EndStep(step);
            begin = end;
        }
    }

    std::vector<TCellStretch> Stretches;
    // The cell most persons shared, and the steps cells were shared: the sum of the steps at
    // which a cell stopped being shared less the sum of those at which it began, with the cells
    // still shared counted apart.
    TSharedCells Shared;
    std::int64_t SharedNow = 0;

private:
    // A person leaving (By -1) or reaching a cell, counted by the tile that holds the cell.
    template <std::int32_t By> void CountOnCell(std::int64_t x, std::int64_t y, std::int32_t step) {
        if (x < Tile.X0 || x > Tile.X1 || y < Tile.Y0 || y > Tile.Y1) {
            return;
        }
        const std::int32_t persons =
            Field[Tile.Deck].Persons[static_cast<std::size_t>(y * Field.DeckWidth() + x)] += By;
        if (By < 0 && persons == 1) {
            Shared.CellSteps += step;
            --SharedNow;
        } else if (By > 0 && persons > 1) {
            if (persons == 2) {
                Shared.CellSteps -= step;
                ++SharedNow;
            }
            TakeIfMore(Shared, {persons, Tile.Deck, static_cast<std::int32_t>(x),
                                static_cast<std::int32_t>(y), step, 0});
        }
    }

    // The changes sorted by their step, by counting.
    void InStepOrder(std::size_t tile, const std::vector<TChangesByTile>& shares) {
        std::array<std::size_t, TWalkerQueue::ChunkSteps + 1> starts{};
        for (const TChangesByTile& share : shares) {
            share.ForEach(
                tile, [&](const TTileChange& change) { ++starts[change.StepInStretch() + 1u]; });
        }
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        Sorted.resize(starts.back());
        for (const TChangesByTile& share : shares) {
            share.ForEach(tile, [&](const TTileChange& change) {
                Sorted[starts[change.StepInStretch()]++] = change;
            });
        }
    }

    // The cells whose congestion began or ended with the step.
    void EndStep(std::int32_t step) {
        TDeckField& field = Field[Tile.Deck];
        for (const std::int32_t listed : ToLook) {
            const auto cell = static_cast<std::size_t>(listed);
            const TDeckField::TWindow& window = field.Windows[cell];
            const bool congested = window.Lacking <= 0;
            if (congested && field.CongestedSince[cell] < 0) {
                field.CongestedSince[cell] = step;
            } else if (!congested && field.CongestedSince[cell] >= 0) {
                Stretches.push_back({Tile.Deck, listed, field.CongestedSince[cell], step - 1});
                field.CongestedSince[cell] = -1;
            }
        }
        ToLook.clear();
    }

    struct TBox {
        std::int64_t X0, X1, Y0, Y1; // both ends included
    };

    // The windows centred within Half of the cell left (By -1) or reached (By +1), less those
    // also centred within Half of the change's other cell when both lie on the tile's deck.
    template <std::int32_t By>
    void AddAround(std::int64_t x, std::int64_t y, const TTileChange& change, std::int32_t step) {
        const std::int64_t half = Field.WindowHalf();
        if (!change.StaysOnDeck()) {
            AddBox<By>({std::max(x - half, Tile.X0), std::min(x + half, Tile.X1),
                        std::max(y - half, Tile.Y0), std::min(y + half, Tile.Y1)},
                       step);
            return;
        }
        // A step of one cell (or none, where a change of deck was refused) changes a strip of
        // windows, not two squares of them: the column and the row of the cell's square that
        // the other cell's square has not, on the side away from the other cell.
        const std::int64_t dx = By * change.Dx();
        const std::int64_t dy = By * change.Dy();
        if (dx != 0) {
            AddBox<By>({x + dx * half, x + dx * half, y - half, y + half}, step);
        }
        if (dy != 0) {
            AddBox<By>({x - half + (dx < 0 ? 1 : 0), x + half - (dx > 0 ? 1 : 0), y + dy * half,
                        y + dy * half},
                       step);
        }
    }

    // The windows of a box within the tile. Only a count that crosses the need can begin or end
    // congestion; a window that is not walkable needs more persons than can be.
    template <std::int32_t By> void AddBox(const TBox& box, std::int32_t step) {
        const std::int64_t x0 = std::max(box.X0, Tile.X0);
        const std::int64_t x1 = std::min(box.X1, Tile.X1);
        const std::int64_t y1 = std::min(box.Y1, Tile.Y1);
        TDeckField& field = Field[Tile.Deck];
        const std::int64_t width = Field.DeckWidth();
        for (std::int64_t cy = std::max(box.Y0, Tile.Y0); cy <= y1; ++cy) {
            const std::int64_t row = cy * width;
            for (std::int64_t cell = row + x0; cell <= row + x1; ++cell) {
                TDeckField::TWindow& window = field.Windows[static_cast<std::size_t>(cell)];
                const std::int32_t lacking = window.Lacking -= By;
                if constexpr (By < 0) {
                    if (lacking == 1) {
                        Look(cell, step, field);
                    }
                } else if (lacking <= 0) {
                    if (lacking == 0) {
                        Look(cell, step, field);
                    }
                    if (-lacking > window.PeakExcess) {
                        window.PeakExcess = -lacking;
                        field.PeakStep[static_cast<std::size_t>(cell)] = step;
                    }
                }
            }
        }
    }

    void Look(std::int64_t cell, std::int32_t step, TDeckField& field) {
        std::int32_t& listed = field.Listed[static_cast<std::size_t>(cell)];
        if (listed != step) {
            listed = step;
            ToLook.push_back(static_cast<std::int32_t>(cell));
        }
    }

    TDensityField& Field;
    TDensityField::TTile Tile{};
    std::vector<TTileChange> Sorted;
    std::vector<std::int32_t> ToLook;
};

// Every person's changes of place, a stretch of steps at a time, on all cores: the persons are
// shared out, each share read by its own queue on its own core; then the tiles the changes
// touch are measured, a tile at a time on each core.
class TStretchMeasure {
public:
    TStretchMeasure(const TLogFile& project, TDensityField& field, std::size_t cores)
        : Field(field), Cores(std::clamp<std::size_t>(cores, 1, 8)) {
        const std::size_t persons = project.Persons.size();
        for (std::size_t share = 0; share < Cores; ++share) {
            Queues.emplace_back(project, persons * share / Cores, persons * (share + 1) / Cores);
            Shares.emplace_back(field);
            Workers.emplace_back(field);
        }
        LastSteps.assign(Cores, 0);
        IsTouched.assign(field.TileCount(), false);
    }

    // Every person where it starts, at step 0.
    void MeasureStart() {
        for (std::size_t share = 0; share < Cores; ++share) {
            for (const TWalker& walker : Queues[share].All()) {
                if (const TCellChange cell = Field.CellOf(walker.Level, walker.X, walker.Y);
                    cell.IsCell()) {
                    Shares[share].Add(0, {{}, cell});
                }
            }
        }
        MeasureTiles(0);
    }

    // The next stretch in which someone changes place; false when all have left.
    bool MeasureNextStretch() {
        std::int64_t first = std::numeric_limits<std::int64_t>::max();
        std::int64_t due = 0;
        for (TWalkerQueue& queue : Queues) {
            if (!queue.Empty()) {
                first = std::min(first, queue.NextChunk());
            }
        }
        if (first == std::numeric_limits<std::int64_t>::max()) {
            return false;
        }
        for (TWalkerQueue& queue : Queues) {
            due += !queue.Empty() && queue.NextChunk() == first ? queue.DueInChunk() : 0;
        }
        RunSideBySide(due >= WorthCoresWalking ? Cores : 1, [&](std::size_t core) {
            for (std::size_t share = core; share < Cores;
                 share += due >= WorthCoresWalking ? Cores : 1) {
                Walk(share, first);
            }
        });
        MeasureTiles(first);
        return true;
    }

    std::int64_t LastStep() const { return std::ranges::max(LastSteps); }

    // The cells shared, all workers' together; a cell still shared counts up to the last step.
    TSharedCells Shared() const {
        TSharedCells shared;
        for (const TTileWorker& worker : Workers) {
            TakeIfMore(shared, worker.Shared);
            shared.CellSteps += worker.Shared.CellSteps + worker.SharedNow * (LastStep() + 1);
        }
        return shared;
    }

    // The stretches of congestion the workers found, taken from them.
    std::vector<TCellStretch> TakeStretches() {
        std::vector<TCellStretch> all = std::move(Workers[0].Stretches);
        for (TTileWorker& worker : std::span(Workers).subspan(1)) {
            all.insert(all.end(), worker.Stretches.begin(), worker.Stretches.end());
            worker.Stretches = {};
        }
        return all;
    }

private:
    // Persons due in a stretch below which one core walks faster than several start, and
    // changes below which one core measures faster.
    static constexpr std::int64_t WorthCoresWalking = 2'000;
    static constexpr std::size_t WorthCoresMeasuring = 20'000;

    void Walk(std::size_t share, std::int64_t first) {
        TWalkerQueue& queue = Queues[share];
        if (queue.Empty() || queue.NextChunk() != first) {
            return;
        }
        TChangesByTile& changes = Shares[share];
        std::int64_t lastStep = LastSteps[share];
        queue.ForEachMoveInChunk(
            [&](std::int64_t step, const TWalkerQueue::TMoved& before, const TWalker& walker) {
                const TPlaceChange change{Field.CellOf(before.Level, before.X, before.Y),
                                          Field.CellOf(walker.Level, walker.X, walker.Y)};
                if (change.From.IsCell() || change.To.IsCell()) {
                    changes.Add(step - first, change);
                }
                lastStep = std::max(lastStep, step);
            });
        LastSteps[share] = lastStep;
    }

    void MeasureTiles(std::int64_t first) {
        std::vector<std::size_t> tiles;
        std::size_t count = 0;
        for (const TChangesByTile& share : Shares) {
            for (const std::size_t tile : share.Touched()) {
                count += share.Size(tile);
                if (!IsTouched[tile]) {
                    IsTouched[tile] = true;
                    tiles.push_back(tile);
                }
            }
        }
        // The busiest first, so that no core is left with a long one at the end.
        std::vector<std::pair<std::size_t, std::size_t>> bySize;
        for (const std::size_t tile : tiles) {
            std::size_t size = 0;
            for (const TChangesByTile& share : Shares) {
                size += share.Size(tile);
            }
            bySize.emplace_back(size, tile);
            IsTouched[tile] = false;
        }
        std::ranges::sort(bySize, std::greater<>());
        std::atomic<std::size_t> next = 0;
        RunSideBySide(count >= WorthCoresMeasuring ? Cores : 1, [&](std::size_t core) {
            for (std::size_t k = next++; k < bySize.size(); k = next++) {
                Workers[core].Measure(bySize[k].second, Shares, first);
            }
        });
        for (TChangesByTile& share : Shares) {
            share.Clear();
        }
    }

    TDensityField& Field;
    std::size_t Cores;
    std::vector<TWalkerQueue> Queues;
    std::vector<TChangesByTile> Shares;
    std::vector<TTileWorker> Workers;
    std::vector<std::int64_t> LastSteps;
    std::vector<bool> IsTouched;
};

// Cells ever congested that touch, one deck at a time, numbered from 0; -1 elsewhere.
std::vector<std::vector<std::int32_t>> RegionsOfCells(const TLogFile& project,
                                                      const std::vector<TCellStretch>& stretches,
                                                      std::size_t decks, std::int32_t& count) {
    std::vector<std::vector<std::int32_t>> region(decks);
    const auto cells = static_cast<std::size_t>(std::int64_t{project.XMax} * project.YMax);
    for (const TCellStretch& stretch : stretches) {
        std::vector<std::int32_t>& deck = region[static_cast<std::size_t>(stretch.Deck)];
        if (deck.empty()) {
            deck.assign(cells, -1);
        }
        deck[static_cast<std::size_t>(stretch.Cell)] = -2; // congested, no region yet
    }
    count = 0;
    std::vector<std::int32_t> pending;
    for (std::vector<std::int32_t>& deck : region) {
        for (std::size_t start = 0; start < deck.size(); ++start) {
            if (deck[start] != -2) {
                continue;
            }
            deck[start] = count;
            pending.assign(1, static_cast<std::int32_t>(start));
            while (!pending.empty()) {
                const std::int32_t cell = pending.back();
                pending.pop_back();
                const std::int32_t x = cell % project.XMax;
                const std::int32_t y = cell / project.XMax;
                for (std::int32_t ny = std::max(y - 1, 0); ny <= std::min(y + 1, project.YMax - 1);
                     ++ny) {
                    for (std::int32_t nx = std::max(x - 1, 0);
                         nx <= std::min(x + 1, project.XMax - 1); ++nx) {
                        std::int32_t& mark = deck[static_cast<std::size_t>(ny * project.XMax + nx)];
                        if (mark == -2) {
                            mark = count;
                            pending.push_back(ny * project.XMax + nx);
                        }
                    }
                }
            }
            ++count;
        }
    }
    return region;
}

// The stretches of one region's cells, sorted by their first step, put together: the region is
// congested at a step when any of its cells is.
void AddDurations(std::span<const TCellStretch> stretches, TCongestionRegion& region) {
    region.FirstStep = stretches.front().First;
    std::int32_t first = stretches.front().First;
    std::int32_t last = stretches.front().Last;
    const auto close = [&] {
        region.LongestSteps = std::max(region.LongestSteps, last - first + 1);
        region.TotalSteps += last - first + 1;
    };
    for (const TCellStretch& stretch : stretches) {
        if (stretch.First > last + 1) {
            close();
            first = stretch.First;
        }
        last = std::max(last, stretch.Last);
    }
    close();
    region.LastStep = last;
}

// Closes what is still congested at the last step.
void CloseStretches(const std::vector<TDeckField>& fields, std::int32_t lastStep,
                    std::vector<TCellStretch>& stretches) {
    for (std::size_t d = 0; d < fields.size(); ++d) {
        const std::vector<std::int32_t>& since = fields[d].CongestedSince;
        for (std::size_t cell = 0; cell < since.size(); ++cell) {
            if (since[cell] >= 0) {
                stretches.push_back({static_cast<std::int32_t>(d), static_cast<std::int32_t>(cell),
                                     since[cell], lastStep});
            }
        }
    }
}

TCongestionReport ReportOf(const TLogFile& project, const TAnalysisSettings& settings,
                           const std::vector<TDeckField>& fields,
                           std::vector<TCellStretch>& allStretches) {
    TCongestionReport report;
    report.Settings = settings;
    report.AssemblySteps = StepEverybodyHasLeft(project);
    std::int32_t count = 0;
    const std::vector<std::vector<std::int32_t>> regionOfCell =
        RegionsOfCells(project, allStretches, fields.size(), count);
    report.Regions.resize(static_cast<std::size_t>(count));
    // The stretches by region, by counting; each region's by their first step.
    const auto regionOf = [&](const TCellStretch& stretch) {
        return static_cast<std::size_t>(regionOfCell[static_cast<std::size_t>(stretch.Deck)]
                                                    [static_cast<std::size_t>(stretch.Cell)]);
    };
    std::vector<std::size_t> starts(static_cast<std::size_t>(count) + 1, 0);
    for (const TCellStretch& stretch : allStretches) {
        ++starts[regionOf(stretch) + 1];
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<TCellStretch> stretches(allStretches.size());
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (const TCellStretch& stretch : allStretches) {
        stretches[next[regionOf(stretch)]++] = stretch;
    }
    allStretches = {};
    for (std::size_t d = 0; d < regionOfCell.size(); ++d) {
        const std::vector<std::int32_t>& deck = regionOfCell[d];
        const TDeckField& field = fields[d];
        for (std::size_t cell = 0; cell < deck.size(); ++cell) {
            if (deck[cell] < 0) {
                continue;
            }
            TCongestionRegion& region = report.Regions[static_cast<std::size_t>(deck[cell])];
            const auto x = static_cast<std::int32_t>(cell % static_cast<std::size_t>(project.XMax));
            const auto y = static_cast<std::int32_t>(cell / static_cast<std::size_t>(project.XMax));
            if (region.CellCount == 0) {
                region.Deck = static_cast<std::int32_t>(d);
                region.X0 = region.X1 = x;
                region.Y0 = region.Y1 = y;
            }
            region.X0 = std::min(region.X0, x);
            region.X1 = std::max(region.X1, x);
            region.Y0 = std::min(region.Y0, y);
            region.Y1 = std::max(region.Y1, y);
            ++region.CellCount;
            region.Cells.push_back(static_cast<std::int32_t>(cell));
            const std::int32_t peak = field.Need[cell] + field.Windows[cell].PeakExcess;
            const std::int32_t windowCells = field.Walkable[cell];
            // persons / cells against the peak's persons / cells, both sides in whole numbers.
            const std::int64_t higher = std::int64_t{peak} * region.PeakWindowCells -
                                        std::int64_t{region.PeakPersons} * windowCells;
            if (region.PeakWindowCells == 0 || higher > 0 ||
                (higher == 0 && field.PeakStep[cell] < region.PeakStep)) {
                region.PeakPersons = peak;
                region.PeakWindowCells = windowCells;
                region.PeakStep = field.PeakStep[cell];
                region.PeakX = x;
                region.PeakY = y;
            }
        }
    }
    for (std::size_t i = 0; i < report.Regions.size(); ++i) {
        TCongestionRegion& region = report.Regions[i];
        region.AreaM2 = settings.SquareMetres(region.CellCount);
        region.PeakDensity = settings.Density(region.PeakPersons, region.PeakWindowCells);
        const std::span ofRegion =
            std::span(stretches).subspan(starts[i], starts[i + 1] - starts[i]);
        std::ranges::sort(ofRegion, {}, &TCellStretch::First);
        AddDurations(ofRegion, region);
        region.Significant = std::int64_t{region.LongestSteps} * 100 >
                             std::int64_t{settings.SignificantSharePercent} * report.AssemblySteps;
    }
    std::ranges::stable_sort(report.Regions, [](const auto& a, const auto& b) {
        return std::tuple(!a.Significant, -a.LongestSteps) <
               std::tuple(!b.Significant, -b.LongestSteps);
    });
    return report;
}

} // namespace

std::optional<std::string> CongestionRefusal(const TLogFile& project) {
    // Nine counts a cell, for every deck: persons may reach any of them. For every person, its
    // place and the changes of a stretch of steps, each handed to a tile and sorted by step.
    const std::uint64_t cells =
        std::uint64_t(std::max(project.XMax, 0) + 1) * std::uint64_t(std::max(project.YMax, 0) + 1);
    const std::uint64_t perPerson =
        sizeof(TWalker) + TWalkerQueue::ChunkSteps * sizeof(TTileChange) * 2;
    const std::uint64_t bytes = project.Decks.size() * cells * 9 * sizeof(std::int32_t) +
                                project.Persons.size() * perPerson;
    if (bytes <= project.MemoryLimit) {
        return std::nullopt;
    }
    return "measuring congestion on " + std::to_string(project.Decks.size()) + " decks of " +
           std::to_string(project.XMax) + " x " + std::to_string(project.YMax) + " cells with " +
           std::to_string(project.Persons.size()) + " persons would take " +
           std::to_string(bytes >> 20) + " MB, more than the " +
           std::to_string(project.MemoryLimit >> 20) + " MB the program may use";
}

std::int32_t TCongestionReport::SignificantCount() const {
    return static_cast<std::int32_t>(
        std::ranges::count_if(Regions, &TCongestionRegion::Significant));
}

TCongestionReport AnalyseCongestion(const TLogFile& project, const TAnalysisSettings& settings,
                                    std::size_t cores) {
    TDensityField field(project, settings);
    TStretchMeasure measure(project, field,
                            cores > 0 ? cores : std::thread::hardware_concurrency());
    measure.MeasureStart();
    while (measure.MeasureNextStretch()) {
    }
    std::vector<TCellStretch> stretches = measure.TakeStretches();
    CloseStretches(field.Decks(), static_cast<std::int32_t>(measure.LastStep()), stretches);
    TCongestionReport report = ReportOf(project, settings, field.Decks(), stretches);
    report.Shared = measure.Shared();
    return report;
}

std::optional<std::string> SharedCellsText(const TCongestionReport& report, const TLogFile& project,
                                           std::string_view deckCaption) {
    const TSharedCells& shared = report.Shared;
    if (!shared.Any()) {
        return std::nullopt;
    }
    std::string text = std::to_string(shared.MostPersons) + " persons on one cell at " +
                       ClockText(ReplayTimeSeconds(shared.Step, project.VMax, project.TOff)) + ", ";
    text += deckCaption;
    text += ", cell " + std::to_string(shared.X) + ", " + std::to_string(shared.Y) + "; " +
            std::to_string(shared.CellSteps) +
            (shared.CellSteps == 1 ? " cell-step holds" : " cell-steps hold") +
            " more than one person: densities above " +
            FixedText(report.Settings.Density(1, 1), 2) +
            " persons/m² count persons a cell cannot hold";
    return text;
}

std::string CongestionMeasuresText(const TCongestionReport& report, std::int32_t vMax) {
    const TAnalysisSettings& settings = report.Settings;
    const std::int32_t window = settings.WindowCells();
    return "Cells of " + FixedText(settings.Metres(1), 2) + " m; congested above " +
           FixedText({settings.CongestionDensityTenths, 10}, 1) + " persons/m² in a window of " +
           std::to_string(window) + " x " + std::to_string(window) + " cells (" +
           FixedText(settings.Metres(window), 2) +
           " m), counting the persons in it over its walkable area; significant when congested "
           "for longer than " +
           std::to_string(settings.SignificantSharePercent) + " % of tA = " +
           FixedText(SecondsOfMilliseconds(ReplayMilliseconds(report.AssemblySteps, vMax, 0)), 3) +
           " s, the time at which everybody has left";
}

std::string CongestionCsv(const TCongestionReport& report, std::int32_t vMax, std::int32_t tOff) {
    std::string csv = "deck,x0,y0,x1,y1,area_m2,first,last,longest,total,peak_density,significant,"
                      "peak_time\n";
    const auto seconds = [vMax](std::int64_t steps, std::int32_t offset) {
        return FixedText(SecondsOfMilliseconds(ReplayMilliseconds(steps, vMax, offset)), 3);
    };
    for (const TCongestionRegion& r : report.Regions) {
        for (const std::int32_t number : {r.Deck, r.X0, r.Y0, r.X1, r.Y1}) {
            csv += std::to_string(number) + ',';
        }
        csv += FixedText(r.AreaM2, 2) + ',' + seconds(r.FirstStep, tOff) + ',' +
               seconds(r.LastStep, tOff) + ',' + seconds(r.LongestSteps, 0) + ',' +
               seconds(r.TotalSteps, 0) + ',' + FixedText(r.PeakDensity, 2) + ',' +
               (r.Significant ? "yes" : "no") + ',' + seconds(r.PeakStep, tOff) + '\n';
    }
    return csv;
}
