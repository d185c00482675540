#include "Congestion.h"

#include "LogFile.h"
#include "PersonData.h"
#include "Replay.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <queue>
#include <tuple>

namespace {

bool IsWalkable(const TCell& cell) {
    return (cell.Kind & (CellObstacle | CellVoid)) == 0;
}

// One deck's cells as the density sees them, made when the first person comes onto the deck.
struct TDeckField {
    // Persons in the window centred on each cell, and the persons that make it congested (0 for
    // a cell that is not walkable, which is never congested): side by side, as every change of
    // place reads both.
    struct TWindow {
        std::int32_t Count = 0;
        std::int32_t Need = 0;
    };
    std::vector<TWindow> Windows;
    // Walkable cells in each window.
    std::vector<std::int32_t> Walkable;
    // The step the cell's current congestion began, or -1; the most persons seen while congested
    // and the step they were first seen.
    std::vector<std::int32_t> CongestedSince;
    std::vector<std::int32_t> PeakCount;
    std::vector<std::int32_t> PeakStep;
    // The step at which the cell was last put on the list to look at again.
    std::vector<std::int32_t> Listed;
};

// A stretch of steps, both included, at which a cell was congested.
struct TCellStretch {
    std::int32_t Deck;
    std::int32_t Cell;
    std::int32_t First;
    std::int32_t Last;
};

// Where a person stands, and what of its list is still to come.
struct TWalker {
    TMoveList::TRunReader Runs;
    std::int32_t Left = 0; // entries left of the run being applied
    TMove Move;
    std::int32_t Next = 0; // the entry to apply next
    std::int64_t X = 0, Y = 0;
    std::int32_t Level = -1;
};

// A person's place changes: off a cell, onto a cell, or both.
struct TCellChange {
    std::int32_t Deck;
    std::int32_t Cell;
};

class TDensityTracker {
public:
    TDensityTracker(const TLogFile& project, const TAnalysisSettings& settings)
        : Fields(static_cast<std::size_t>(
              std::min<std::int64_t>(std::ssize(project.Decks), std::max(project.ZMax, 0)))),
          Project(project), Half(settings.WindowCells() / 2), CellMm(settings.CellSizeMm),
          Tenths(settings.CongestionDensityTenths) {}

    // The cell of a place, or none off the decks and grids.
    std::optional<TCellChange> CellOf(std::int32_t level, std::int64_t x, std::int64_t y) const {
        if (level < 0 || level >= std::ssize(Fields) || x < 0 || y < 0 || x >= Project.XMax ||
            y >= Project.YMax) {
            return std::nullopt;
        }
        return TCellChange{level, static_cast<std::int32_t>(y * Project.XMax + x)};
    }

    // A person comes onto a cell, or leaves one; the windows around it count it.
    void Place(const TCellChange& change, std::int32_t step) {
        AddAround(change, nullptr, +1, step);
    }
    // A person moves from one cell to another (either may be none): the windows around the cell
    // it left, but not around the one it reaches, stop counting it now; Arrive later counts it in
    // those around the cell it reaches, but not around the one it left. A step of one cell so
    // changes a strip of windows, not two squares of them.
    void Leave(const std::optional<TCellChange>& from, const std::optional<TCellChange>& to,
               std::int32_t step) {
        if (from) {
            AddAround(*from, to ? &*to : nullptr, -1, step);
        }
    }
    void Arrive(const std::optional<TCellChange>& from, const TCellChange& to, std::int32_t step) {
        AddAround(to, from ? &*from : nullptr, +1, step);
    }

    // After every change of the step: the cells whose congestion began or ended.
    void EndStep(std::int32_t step) {
        for (const TCellChange& listed : ToLook) {
            TDeckField& field = Fields[static_cast<std::size_t>(listed.Deck)];
            const auto cell = static_cast<std::size_t>(listed.Cell);
            const bool congested = field.Windows[cell].Need > 0 &&
                                   field.Windows[cell].Count >= field.Windows[cell].Need;
            if (congested && field.CongestedSince[cell] < 0) {
                field.CongestedSince[cell] = step;
            } else if (!congested && field.CongestedSince[cell] >= 0) {
                Stretches.push_back(
                    {listed.Deck, listed.Cell, field.CongestedSince[cell], step - 1});
                field.CongestedSince[cell] = -1;
            }
        }
        ToLook.clear();
    }

    // Closes what is still congested at the last step.
    void EndAll(std::int32_t lastStep) {
        for (std::size_t d = 0; d < Fields.size(); ++d) {
            const std::vector<std::int32_t>& since = Fields[d].CongestedSince;
            for (std::size_t cell = 0; cell < since.size(); ++cell) {
                if (since[cell] >= 0) {
                    Stretches.push_back({static_cast<std::int32_t>(d),
                                         static_cast<std::int32_t>(cell), since[cell], lastStep});
                }
            }
        }
    }

    std::vector<TCellStretch> Stretches;
    std::vector<TDeckField> Fields;

private:
    // The windows centred within Half of the cell, less those also centred within Half of the
    // other cell on the same deck.
    void AddAround(const TCellChange& change, const TCellChange* other, std::int32_t by,
                   std::int32_t step) {
        const std::int64_t width = Project.XMax;
        const std::int64_t x = change.Cell % width;
        const std::int64_t y = change.Cell / width;
        const TBox box{x - Half, x + Half, y - Half, y + Half};
        if (other == nullptr || other->Deck != change.Deck) {
            AddBox(change.Deck, box, by, step);
            return;
        }
        const std::int64_t ox = other->Cell % width;
        const std::int64_t oy = other->Cell / width;
        const TBox skip{ox - Half, ox + Half, oy - Half, oy + Half};
        // Rows of the box outside the other's rows, whole; the rows both share, outside its
        // columns.
        AddBox(change.Deck, {box.X0, box.X1, box.Y0, std::min(box.Y1, skip.Y0 - 1)}, by, step);
        AddBox(change.Deck, {box.X0, box.X1, std::max(box.Y0, skip.Y1 + 1), box.Y1}, by, step);
        const std::int64_t shared0 = std::max(box.Y0, skip.Y0);
        const std::int64_t shared1 = std::min(box.Y1, skip.Y1);
        AddBox(change.Deck, {box.X0, std::min(box.X1, skip.X0 - 1), shared0, shared1}, by, step);
        AddBox(change.Deck, {std::max(box.X0, skip.X1 + 1), box.X1, shared0, shared1}, by, step);
    }

    struct TBox {
        std::int64_t X0, X1, Y0, Y1; // both ends included
    };

    void AddBox(std::int32_t deck, const TBox& box, std::int32_t by, std::int32_t step) {
        TDeckField& field = FieldOf(deck);
        const std::int64_t width = Project.XMax;
        const std::int64_t x0 = std::max<std::int64_t>(box.X0, 0);
        const std::int64_t x1 = std::min<std::int64_t>(box.X1, width - 1);
        for (std::int64_t cy = std::max<std::int64_t>(box.Y0, 0);
             cy <= std::min<std::int64_t>(box.Y1, Project.YMax - 1); ++cy) {
            for (std::int64_t cx = x0; cx <= x1; ++cx) {
                const auto cell = static_cast<std::size_t>(cy * width + cx);
                TDeckField::TWindow& window = field.Windows[cell];
                const std::int32_t count = window.Count += by;
                const std::int32_t need = window.Need;
                if (need == 0) {
                    continue;
                }
                // Only a count that crosses the need can begin or end congestion.
                if ((by > 0 && count == need) || (by < 0 && count == need - 1)) {
                    Look(deck, static_cast<std::int32_t>(cell), step, field);
                }
                if (by > 0 && count >= need && count > field.PeakCount[cell]) {
                    field.PeakCount[cell] = count;
                    field.PeakStep[cell] = step;
                }
            }
        }
    }

    void Look(std::int32_t deck, std::int32_t cell, std::int32_t step, TDeckField& field) {
        std::int32_t& listed = field.Listed[static_cast<std::size_t>(cell)];
        if (listed != step) {
            listed = step;
            ToLook.push_back({deck, cell});
        }
    }

    TDeckField& FieldOf(std::int32_t deck) {
        TDeckField& field = Fields[static_cast<std::size_t>(deck)];
        if (field.Windows.empty()) {
            Prepare(deck, field);
        }
        return field;
    }

    // The walkable cells of each window by a table of sums, and the persons each window needs:
    // the fewest k with k / (walkable x cell area) above the threshold, in whole numbers.
    void Prepare(std::int32_t deck, TDeckField& field) const {
        const std::int64_t width = Project.XMax;
        const std::int64_t height = Project.YMax;
        const auto cells = static_cast<std::size_t>(width * height);
        const std::vector<TCell>& grid = Project.Decks[static_cast<std::size_t>(deck)].Cells;
        std::vector<std::int32_t> sums(static_cast<std::size_t>((width + 1) * (height + 1)), 0);
        const auto at = [&](std::int64_t x, std::int64_t y) -> std::int32_t& {
            return sums[static_cast<std::size_t>(y * (width + 1) + x)];
        };
        for (std::int64_t y = 0; y < height; ++y) {
            for (std::int64_t x = 0; x < width; ++x) {
                const auto cell = static_cast<std::size_t>(y * width + x);
                const bool walkable = cell < grid.size() && IsWalkable(grid[cell]);
                at(x + 1, y + 1) = at(x, y + 1) + at(x + 1, y) - at(x, y) + (walkable ? 1 : 0);
            }
        }
        field.Windows.assign(cells, {});
        field.Walkable.assign(cells, 0);
        field.CongestedSince.assign(cells, -1);
        field.PeakCount.assign(cells, 0);
        field.PeakStep.assign(cells, 0);
        field.Listed.assign(cells, -1);
        const std::int64_t areaTerm = std::int64_t{Tenths} * CellMm * CellMm;
        for (std::int64_t y = 0; y < height; ++y) {
            for (std::int64_t x = 0; x < width; ++x) {
                const auto cell = static_cast<std::size_t>(y * width + x);
                if (cell >= grid.size() || !IsWalkable(grid[cell])) {
                    continue;
                }
                const std::int64_t x0 = std::max<std::int64_t>(x - Half, 0);
                const std::int64_t y0 = std::max<std::int64_t>(y - Half, 0);
                const std::int64_t x1 = std::min<std::int64_t>(x + Half, width - 1) + 1;
                const std::int64_t y1 = std::min<std::int64_t>(y + Half, height - 1) + 1;
                const std::int32_t walkable = at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
                field.Walkable[cell] = walkable;
                // k x 10^7 > tenths x walkable x mm²: persons/m² in tenths against the threshold.
                const std::int64_t need = areaTerm * walkable / 10'000'000 + 1;
                field.Windows[cell].Need = static_cast<std::int32_t>(
                    std::min<std::int64_t>(need, std::numeric_limits<std::int32_t>::max()));
            }
        }
    }

    const TLogFile& Project;
    std::int64_t Half;
    std::int32_t CellMm;
    std::int32_t Tenths;
    std::vector<TCellChange> ToLook;
};

// Every person's changes of place in the order of the steps: each person waits in the bucket of
// the step at which it next moves, changes deck or leaves, runs of standing passed over at once.
// The buckets cover the next WheelSteps steps; a change further ahead waits in a heap until its
// step comes within reach.
class TWalkerQueue {
public:
    explicit TWalkerQueue(const TLogFile& project) : Project(project), Wheel(WheelSteps) {
        Walkers.reserve(project.Persons.size());
        for (std::size_t i = 0; i < project.Persons.size(); ++i) {
            const TPersonData& person = project.Persons[i];
            TWalker& walker = Walkers.emplace_back();
            walker.Runs = TMoveList::TRunReader(person.Moves);
            walker.X = person.StartX;
            walker.Y = person.StartY;
            walker.Level = person.StartLevel;
            Schedule(static_cast<std::int32_t>(i));
        }
    }

    // Where a person stood before its change.
    struct TMoved {
        std::int32_t Level;
        std::int64_t X, Y;
    };

    const std::vector<TWalker>& All() const { return Walkers; }
    bool Empty() const { return Waiting == 0; }

    // The next step at which someone changes place; only while not Empty.
    std::int32_t NextStep() {
        while (Wheel[Slot(Now)].empty()) {
            if (InWheel == 0) {
                Now = Far.top().first; // nothing near: on to the next change far ahead
            } else {
                ++Now;
            }
            BringNear();
        }
        return static_cast<std::int32_t>(Now);
    }

    // Applies the changes of the step NextStep gave: visit(where it stood, the person as it
    // stands now, off every deck once it has left).
    template <typename TVisit> void ForEachMoveAt(std::int32_t step, TVisit visit) {
        std::vector<std::int32_t>& due = Wheel[Slot(step)];
        Moving.swap(due);
        InWheel -= static_cast<std::int64_t>(Moving.size());
        Waiting -= static_cast<std::int64_t>(Moving.size());
        for (const std::int32_t index : Moving) {
            TWalker& walker = Walkers[static_cast<std::size_t>(index)];
            const TMoved before{walker.Level, walker.X, walker.Y};
            Apply(index, walker);
            visit(before, walker);
        }
        Moving.clear();
    }

private:
    static constexpr std::int32_t WheelSteps = 1024;

    static std::size_t Slot(std::int64_t step) {
        return static_cast<std::size_t>(step & (WheelSteps - 1));
    }

    static bool Stands(TMove move) {
        return move.LevelChange == 0 && (move.Direction == 0 || !StepOfDirection(move.Direction));
    }

    // Entry Next of the person's list, or its leaving once the list is used up.
    void Apply(std::int32_t index, TWalker& walker) {
        if (walker.Next >= Project.Persons[static_cast<std::size_t>(index)].MoveCount) {
            walker.Level = -1;
            return;
        }
        if (const TDirectionStep* offset = StepOfDirection(walker.Move.Direction)) {
            walker.X += offset->Dx;
            walker.Y -= offset->Dy;
        }
        walker.Level = AddLevels(walker.Level, walker.Move.LevelChange);
        --walker.Left;
        ++walker.Next;
        Schedule(index);
    }

    // Waits for the step of the person's next change: its next entry that moves it (entry k
    // takes effect at step k + 1), or its leaving.
    void Schedule(std::int32_t index) {
        TWalker& walker = Walkers[static_cast<std::size_t>(index)];
        while (walker.Left == 0 || Stands(walker.Move)) {
            walker.Next += walker.Left;
            walker.Left = 0;
            if (walker.Runs.AtEnd()) {
                const std::int32_t count =
                    Project.Persons[static_cast<std::size_t>(index)].MoveCount;
                walker.Next = count;
                if (count < std::numeric_limits<std::int32_t>::max()) {
                    WaitFor(std::int64_t{count} + 1, index);
                }
                return;
            }
            walker.Runs.Next(walker.Left, walker.Move);
        }
        WaitFor(std::int64_t{walker.Next} + 1, index);
    }

    void WaitFor(std::int64_t step, std::int32_t index) {
        ++Waiting;
        if (step - Now < WheelSteps) {
            Wheel[Slot(step)].push_back(index);
            ++InWheel;
        } else {
            Far.push({step, index});
        }
    }

    // The changes far ahead that the buckets now reach.
    void BringNear() {
        while (!Far.empty() && Far.top().first - Now < WheelSteps) {
            Wheel[Slot(Far.top().first)].push_back(Far.top().second);
            ++InWheel;
            Far.pop();
        }
    }

    const TLogFile& Project;
    std::vector<TWalker> Walkers;
    std::vector<std::vector<std::int32_t>> Wheel;
    std::vector<std::int32_t> Moving;
    std::int64_t Now = 0;
    std::int64_t InWheel = 0;
    std::int64_t Waiting = 0;
    using TEntry = std::pair<std::int64_t, std::int32_t>; // step, person
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> Far;
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

// The stretches of one region's cells put together: the region is congested at a step when any
// of its cells is.
void AddDurations(std::vector<TCellStretch>& stretches, TCongestionRegion& region) {
    std::ranges::sort(stretches, {}, &TCellStretch::First);
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

TCongestionReport ReportOf(const TLogFile& project, const TAnalysisSettings& settings,
                           TDensityTracker& tracker) {
    TCongestionReport report;
    report.Settings = settings;
    report.AssemblySteps = StepEverybodyHasLeft(project);
    std::int32_t count = 0;
    const std::vector<std::vector<std::int32_t>> regionOfCell =
        RegionsOfCells(project, tracker.Stretches, tracker.Fields.size(), count);
    report.Regions.resize(static_cast<std::size_t>(count));
    std::vector<std::vector<TCellStretch>> stretches(static_cast<std::size_t>(count));
    for (const TCellStretch& stretch : tracker.Stretches) {
        const std::int32_t id = regionOfCell[static_cast<std::size_t>(stretch.Deck)]
                                            [static_cast<std::size_t>(stretch.Cell)];
        stretches[static_cast<std::size_t>(id)].push_back(stretch);
    }
    const double cellArea = settings.CellAreaM2();
    for (std::size_t d = 0; d < regionOfCell.size(); ++d) {
        const std::vector<std::int32_t>& deck = regionOfCell[d];
        const TDeckField& field = tracker.Fields[d];
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
            const double density = field.PeakCount[cell] / (field.Walkable[cell] * cellArea);
            if (density > region.PeakDensity ||
                (density == region.PeakDensity && field.PeakStep[cell] < region.PeakStep)) {
                region.PeakDensity = density;
                region.PeakStep = field.PeakStep[cell];
                region.PeakX = x;
                region.PeakY = y;
            }
        }
    }
    for (std::size_t i = 0; i < report.Regions.size(); ++i) {
        TCongestionRegion& region = report.Regions[i];
        region.AreaM2 = region.CellCount * cellArea;
        AddDurations(stretches[i], region);
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
    // Seven counts a cell and a table of sums, for every deck: persons may reach any of them.
    const std::uint64_t cells =
        std::uint64_t(std::max(project.XMax, 0) + 1) * std::uint64_t(std::max(project.YMax, 0) + 1);
    const std::uint64_t bytes = project.Decks.size() * cells * 8 * sizeof(std::int32_t);
    if (bytes <= project.MemoryLimit) {
        return std::nullopt;
    }
    return "measuring congestion on " + std::to_string(project.Decks.size()) + " decks of " +
           std::to_string(project.XMax) + " x " + std::to_string(project.YMax) +
           " cells would take " + std::to_string(bytes >> 20) + " MB, more than the " +
           std::to_string(project.MemoryLimit >> 20) + " MB the program may use";
}

std::int32_t TCongestionReport::SignificantCount() const {
    return static_cast<std::int32_t>(
        std::ranges::count_if(Regions, &TCongestionRegion::Significant));
}

TCongestionReport AnalyseCongestion(const TLogFile& project, const TAnalysisSettings& settings) {
    TDensityTracker tracker(project, settings);
    TWalkerQueue walkers(project);
    for (const TWalker& walker : walkers.All()) {
        if (const auto cell = tracker.CellOf(walker.Level, walker.X, walker.Y)) {
            tracker.Place(*cell, 0);
        }
    }
    tracker.EndStep(0);
    // All leaving first, then all arriving, so that no count passes through a value the step
    // does not end with.
    struct TArrival {
        std::optional<TCellChange> From;
        TCellChange To;
    };
    std::vector<TArrival> arrivals;
    std::int32_t lastStep = 0;
    while (!walkers.Empty()) {
        const std::int32_t step = walkers.NextStep();
        arrivals.clear();
        walkers.ForEachMoveAt(step, [&](const TWalkerQueue::TMoved& before, const TWalker& walker) {
            const auto from = tracker.CellOf(before.Level, before.X, before.Y);
            const auto to = tracker.CellOf(walker.Level, walker.X, walker.Y);
            tracker.Leave(from, to, step);
            if (to) {
                arrivals.push_back({from, *to});
            }
        });
        for (const TArrival& arrival : arrivals) {
            tracker.Arrive(arrival.From, arrival.To, step);
        }
        tracker.EndStep(step);
        lastStep = step;
    }
    tracker.EndAll(lastStep);
    return ReportOf(project, settings, tracker);
}
