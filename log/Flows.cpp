#include "Flows.h"

#include "LogFile.h"
#include "PersonWay.h"

#include <algorithm>
#include <future>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <thread>
#include <tuple>
#include <unordered_map>

namespace {

// A cell of a deck and the kind of passage through it.
struct TPassCell {
    TFlowKind Kind;
    std::int32_t Deck;
    std::int32_t X;
    std::int32_t Y;

    friend bool operator==(const TPassCell&, const TPassCell&) = default;
};

struct TPassCellHash {
    std::size_t operator()(const TPassCell& cell) const {
        std::uint64_t hash = cell.Kind == TFlowKind::Stair ? 1 : 0;
        for (const std::int32_t part : {cell.Deck, cell.X, cell.Y}) {
            hash = (hash ^ static_cast<std::uint32_t>(part)) * 0x9E3779B97F4A7C15ULL;
        }
        return static_cast<std::size_t>(hash ^ (hash >> 32));
    }
};

// The passages through one cell: the first and last step, and the persons in each second in
// which someone passed.
struct TCellPassages {
    std::int64_t FirstStep = std::numeric_limits<std::int64_t>::max();
    std::int64_t LastStep = std::numeric_limits<std::int64_t>::min();
    std::map<std::int64_t, std::int64_t> PerSecond;

    void Add(std::int64_t step, std::int64_t second) {
        FirstStep = std::min(FirstStep, step);
        LastStep = std::max(LastStep, step);
        ++PerSecond[second];
    }

    void AddAll(const TCellPassages& other) {
        FirstStep = std::min(FirstStep, other.FirstStep);
        LastStep = std::max(LastStep, other.LastStep);
        for (const auto& [second, persons] : other.PerSecond) {
            PerSecond[second] += persons;
        }
    }
};

using TPassages = std::unordered_map<TPassCell, TCellPassages, TPassCellHash>;

// What a share of the persons passed, and how many of them left from no deck's grid.
struct TTally {
    TPassages Passages;
    std::int64_t LeavingAtNoExit = 0;
};

// Follows each person's way run by run and notes where it changes deck and where it leaves.
class TPassageTallier {
public:
    explicit TPassageTallier(const TLogFile& project)
        : XMax(project.XMax), YMax(project.YMax), VMax(project.VMax),
          Decks(static_cast<std::int64_t>(project.Decks.size())) {}

    void Add(const TPersonData& person) {
        TWayPoint place = StartOfWay(person, XMax, YMax);
        person.Moves.ForEachRun([&](std::int32_t count, TMove move) {
            if (move.LevelChange != 0) {
                AddDeckChanges(place, count, move);
            }
            FollowEntries(place, count, move);
        });
        if (!AddPassage(TFlowKind::Exit, place, std::int64_t{place.Step} + 1)) {
            ++LeavingAtNoExit;
        }
    }

    TTally Take() { return {std::move(Passages), LeavingAtNoExit}; }

private:
    // Entry i of the run begins i decks further than the run: only the entries that begin on a
    // deck of the project pass a stair, so a run of millions of deck changes costs a visit per
    // deck, not per entry.
    void AddDeckChanges(const TWayPoint& place, std::int32_t count, TMove move) {
        const std::int64_t level = place.Level;
        const bool up = move.LevelChange > 0; // the list keeps only the sign of a change
        const std::int64_t first = std::max<std::int64_t>(up ? -level : level - (Decks - 1), 0);
        const std::int64_t last = std::min<std::int64_t>(up ? Decks - 1 - level : level, count - 1);
        for (std::int64_t i = first; i <= last; ++i) {
            TWayPoint begins = place;
            FollowEntries(begins, static_cast<std::int32_t>(i), move);
            // It arrives on the other deck when the entry has been applied.
            AddPassage(TFlowKind::Stair, begins, std::int64_t{begins.Step} + 1);
        }
    }

    // False when the place lies off every deck's grid, where nothing is passed.
    bool AddPassage(TFlowKind kind, const TWayPoint& place, std::int64_t step) {
        const std::int64_t x = place.CellX + XMax / 2; // the column and row the file counts
        const std::int64_t y = YMax / 2 - place.CellY;
        if (place.Level < 0 || place.Level >= Decks || x < 0 || y < 0 || x >= XMax || y >= YMax) {
            return false;
        }
        const TPassCell cell{kind, place.Level, static_cast<std::int32_t>(x),
                             static_cast<std::int32_t>(y)};
        Passages[cell].Add(step, VMax > 0 ? step / VMax : 0);
        return true;
    }

    std::int32_t XMax;
    std::int32_t YMax;
    std::int32_t VMax;
    std::int64_t Decks;
    TPassages Passages;
    std::int64_t LeavingAtNoExit = 0;
};

TTally TallyPersons(const TLogFile& project, std::size_t first, std::size_t last) {
    TPassageTallier tallier(project);
    for (std::size_t i = first; i < last; ++i) {
        tallier.Add(project.Persons[i]);
    }
    return tallier.Take();
}

void AddInto(TPassages& total, TPassages& part) {
    for (auto& [cell, passages] : part) {
        // try_emplace leaves the passages as they are when the cell is there already.
        const auto [at, added] = total.try_emplace(cell, std::move(passages));
        if (!added) {
            at->second.AddAll(passages);
        }
    }
}

// The areas of marked floor (cells of one colour that touch, 8 neighbours) that stair cells lie
// in, numbered as they are first met. Only the areas asked for are traced, so the cost follows
// the stairwells, not the grid.
class TMarkedAreas {
public:
    explicit TMarkedAreas(const TLogFile& project) : Project(project) {}

    // The area the cell lies in; none on free floor, obstacles and void, which join nothing.
    std::optional<std::int64_t> AreaOf(const TPassCell& cell) {
        const std::uint8_t kind = KindAt(cell.Deck, cell.X, cell.Y);
        if (kind != CellGreen && kind != CellRed && kind != CellGrey && kind != CellBlue) {
            return std::nullopt;
        }
        const auto found = Area.find(Key(cell.Deck, cell.X, cell.Y));
        return found != Area.end() ? found->second : Trace(cell.Deck, cell.X, cell.Y, kind);
    }

private:
    std::uint8_t KindAt(std::int32_t deck, std::int64_t x, std::int64_t y) const {
        if (x < 0 || y < 0 || x >= Project.XMax || y >= Project.YMax) {
            return CellVoid;
        }
        const std::vector<TCell>& cells = Project.Decks[static_cast<std::size_t>(deck)].Cells;
        const auto at = static_cast<std::size_t>(y * Project.XMax + x);
        return at < cells.size() ? cells[at].Kind : std::uint8_t{CellVoid};
    }

    // A cell of the grid as the key of its area; the kind is that of every key.
    static TPassCell Key(std::int32_t deck, std::int64_t x, std::int64_t y) {
        return {TFlowKind::Stair, deck, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    }

    // Gives every cell of the area around (x, y) the next number.
    std::int64_t Trace(std::int32_t deck, std::int64_t x, std::int64_t y, std::uint8_t kind) {
        const std::int64_t number = Areas++;
        std::vector<std::pair<std::int64_t, std::int64_t>> open{{x, y}};
        Area.emplace(Key(deck, x, y), number);
        while (!open.empty()) {
            const auto [cx, cy] = open.back();
            open.pop_back();
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                for (std::int64_t dx = -1; dx <= 1; ++dx) {
                    if (KindAt(deck, cx + dx, cy + dy) == kind &&
                        Area.emplace(Key(deck, cx + dx, cy + dy), number).second) {
                        open.emplace_back(cx + dx, cy + dy);
                    }
                }
            }
        }
        return number;
    }

    const TLogFile& Project;
    std::unordered_map<TPassCell, std::int64_t, TPassCellHash> Area;
    std::int64_t Areas = 0;
};

// For each cell, a representative of the cells it is grouped with: those it touches (8
// neighbours) through a chain of cells of the same kind on the same deck and, for stairs, those
// in the same area of marked floor, since a stairwell is drawn as one such area and persons
// start down it from whichever of its cells they stand on.
std::vector<std::size_t> GroupOfEachCell(const std::vector<TPassCell>& cells,
                                         const TLogFile& project) {
    std::vector<std::size_t> parent(cells.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    const auto root = [&parent](std::size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    };
    std::unordered_map<TPassCell, std::size_t, TPassCellHash> index;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        index.emplace(cells[i], i);
    }
    // Each touching pair once: the neighbour to the right and the three in the next row.
    constexpr std::pair<std::int32_t, std::int32_t> Later[] = {{1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (const auto& [dx, dy] : Later) {
            TPassCell neighbour = cells[i];
            neighbour.X += dx; // stays in range: cells lie inside a grid of 32-bit size
            neighbour.Y += dy;
            const auto found = index.find(neighbour);
            if (found != index.end()) {
                parent[root(found->second)] = root(i);
            }
        }
    }
    TMarkedAreas areas(project);
    std::unordered_map<std::int64_t, std::size_t> stairOfArea;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].Kind != TFlowKind::Stair) {
            continue;
        }
        if (const std::optional<std::int64_t> area = areas.AreaOf(cells[i])) {
            const std::size_t first = stairOfArea.try_emplace(*area, i).first->second;
            parent[root(first)] = root(i);
        }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        parent[i] = root(i);
    }
    return parent;
}

// An exit or a stair gathered cell by cell.
class TPlaceBuilder {
public:
    explicit TPlaceBuilder(const TPassCell& cell) {
        Place.Kind = cell.Kind;
        Place.Deck = cell.Deck;
        Place.X0 = Place.X1 = cell.X;
        Place.Y0 = Place.Y1 = cell.Y;
        Place.FirstStep = std::numeric_limits<std::int64_t>::max();
        Place.LastStep = std::numeric_limits<std::int64_t>::min();
    }

    void AddCell(const TPassCell& cell, const TCellPassages& passages) {
        ++Place.CellCount;
        Place.X0 = std::min(Place.X0, cell.X);
        Place.X1 = std::max(Place.X1, cell.X);
        Place.Y0 = std::min(Place.Y0, cell.Y);
        Place.Y1 = std::max(Place.Y1, cell.Y);
        Place.FirstStep = std::min(Place.FirstStep, passages.FirstStep);
        Place.LastStep = std::max(Place.LastStep, passages.LastStep);
        for (const auto& [second, persons] : passages.PerSecond) {
            PerSecond[second] += persons;
        }
    }

    TFlowPlace Finish(const TAnalysisSettings& settings) {
        for (const auto& [second, persons] : PerSecond) {
            Place.PerSecond.push_back({second, persons});
            Place.Total += persons;
            Place.PeakPerSecond = std::max(Place.PeakPerSecond, persons);
        }
        Place.WidthCells = std::max(Place.X1 - Place.X0, Place.Y1 - Place.Y0) + 1;
        Place.WidthMetres = settings.Metres(Place.WidthCells);
        Place.PeakPerMetreSecond = settings.PerMetre(Place.PeakPerSecond, Place.WidthCells);
        return std::move(Place);
    }

private:
    TFlowPlace Place;
    std::map<std::int64_t, std::int64_t> PerSecond;
};

std::vector<TFlowPlace> PlacesOf(const TPassages& passages, const TLogFile& project,
                                 const TAnalysisSettings& settings) {
    std::vector<TPassCell> cells;
    cells.reserve(passages.size());
    for (const auto& entry : passages) {
        cells.push_back(entry.first);
    }
    const std::vector<std::size_t> groups = GroupOfEachCell(cells, project);
    std::unordered_map<std::size_t, TPlaceBuilder> builders;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        TPlaceBuilder& builder = builders.try_emplace(groups[i], cells[i]).first->second;
        builder.AddCell(cells[i], passages.at(cells[i]));
    }
    std::vector<TFlowPlace> places;
    places.reserve(builders.size());
    for (auto& entry : builders) {
        places.push_back(entry.second.Finish(settings));
    }
    // Places of a stairwell's odd shape may share their bounds: the first step decides.
    const auto order = [](const TFlowPlace& p) {
        return std::tie(p.Kind, p.Deck, p.Y0, p.X0, p.Y1, p.X1, p.FirstStep, p.CellCount);
    };
    std::sort(places.begin(), places.end(),
              [&](const TFlowPlace& a, const TFlowPlace& b) { return order(a) < order(b); });
    return places;
}

} // namespace

TFlowReport AnalyseFlows(const TLogFile& project, const TAnalysisSettings& settings) {
    const std::size_t persons = project.Persons.size();
    const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::future<TTally>> running;
    for (std::size_t p = 0; p < parts; ++p) {
        running.push_back(std::async(std::launch::async, TallyPersons, std::cref(project),
                                     persons * p / parts, persons * (p + 1) / parts));
    }
    TTally total = running.front().get();
    for (std::size_t p = 1; p < running.size(); ++p) {
        TTally part = running[p].get();
        AddInto(total.Passages, part.Passages);
        total.LeavingAtNoExit += part.LeavingAtNoExit;
    }
    return {settings, PlacesOf(total.Passages, project, settings),
            static_cast<std::int64_t>(persons), total.LeavingAtNoExit};
}

std::string LeavingText(const TFlowReport& report) {
    return std::to_string(report.Persons - report.LeavingAtNoExit) + " of " +
           std::to_string(report.Persons) + (report.Persons == 1 ? " person" : " persons") +
           " leave by an exit, " + std::to_string(report.LeavingAtNoExit) +
           " from a cell off every deck's grid (counted at no exit)";
}
