// Exits and stairs taken from the move lists in one pass, against a replay that steps through
// every time step and watches persons change deck and disappear.

#include "Flows.h"
#include "LogTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// A place as one line, so that a whole report compares and prints at once.
std::string PlaceText(const TFlowPlace& place) {
    std::string text = place.Kind == TFlowKind::Exit ? "exit" : "stair";
    text += " deck " + std::to_string(place.Deck) + " [" + std::to_string(place.X0) + "," +
            std::to_string(place.Y0) + " " + std::to_string(place.X1) + "," +
            std::to_string(place.Y1) + "] cells " + std::to_string(place.CellCount) + " width " +
            std::to_string(place.WidthCells) + " total " + std::to_string(place.Total) + " steps " +
            std::to_string(place.FirstStep) + ".." + std::to_string(place.LastStep) + " peak " +
            std::to_string(place.PeakPerSecond) + " seconds";
    for (const TSecondCount& second : place.PerSecond) {
        text += " " + std::to_string(second.Second) + ":" + std::to_string(second.Persons);
    }
    return text;
}

std::vector<std::string> PlaceTexts(const std::vector<TFlowPlace>& places) {
    std::vector<std::string> texts;
    std::transform(places.begin(), places.end(), std::back_inserter(texts), PlaceText);
    return texts;
}

std::vector<std::string> FlowsOf(const TLogFile& project) {
    return PlaceTexts(AnalyseFlows(project, {}).Places);
}

struct TPassage {
    TFlowKind Kind;
    std::int32_t Deck, X, Y;
    std::int64_t Step;
};

// The replay stepped through every time step: a person who disappears in a step passes an exit,
// one whose deck changes passes a stair, each where it stood before the step, on the deck it
// stood on then; one that disappears off every deck's grid passes deck -1.
std::vector<TPassage> PassagesByReplay(TLogFile& project) {
    std::vector<TPassage> passages;
    std::vector<TPersonData>& persons = project.Persons;
    std::vector<bool> gone(persons.size());
    for (std::int32_t k = 0; std::count(gone.begin(), gone.end(), false) > 0; ++k) {
        for (std::size_t p = 0; p < persons.size(); ++p) {
            TPersonData& person = persons[p];
            if (gone[p]) {
                continue;
            }
            const std::int32_t deck = person.Level;
            const auto x = static_cast<std::int32_t>(person.CellX + project.XMax / 2);
            const auto y = static_cast<std::int32_t>(project.YMax / 2 - person.CellY);
            gone[p] = !person.IsStepMoved(k);
            const bool onGrid = deck >= 0 && deck < project.ZMax && x >= 0 && y >= 0 &&
                                x < project.XMax && y < project.YMax;
            if (onGrid && (gone[p] || person.Level != deck)) {
                passages.push_back(
                    {gone[p] ? TFlowKind::Exit : TFlowKind::Stair, deck, x, y, k + 1});
            } else if (gone[p]) {
                passages.push_back({TFlowKind::Exit, -1, x, y, k + 1}); // at no exit
            }
        }
    }
    return passages;
}

// The places the passages make, found by filling each group of touching cells on a deck's grid.
std::vector<TFlowPlace> PlacesOfPassages(const std::vector<TPassage>& passages,
                                         const TLogFile& project) {
    const std::int32_t w = project.XMax;
    const std::int32_t h = project.YMax;
    std::vector<TFlowPlace> places;
    for (const TFlowKind kind : {TFlowKind::Exit, TFlowKind::Stair}) {
        for (std::int32_t deck = 0; deck < project.ZMax; ++deck) {
            std::vector<std::vector<std::int64_t>> steps(static_cast<std::size_t>(w * h));
            for (const TPassage& passage : passages) {
                if (passage.Kind == kind && passage.Deck == deck) {
                    steps[static_cast<std::size_t>(passage.Y * w + passage.X)].push_back(
                        passage.Step);
                }
            }
            std::vector<bool> seen(steps.size());
            for (std::int32_t start = 0; start < w * h; ++start) {
                if (steps[std::size_t(start)].empty() || seen[std::size_t(start)]) {
                    continue;
                }
                TFlowPlace place;
                place.Kind = kind;
                place.Deck = deck;
                place.X0 = place.X1 = start % w;
                place.Y0 = place.Y1 = start / w;
                place.FirstStep = INT64_MAX;
                std::map<std::int64_t, std::int64_t> perSecond;
                std::vector<std::int32_t> open{start};
                seen[std::size_t(start)] = true;
                while (!open.empty()) {
                    const std::int32_t cell = open.back();
                    open.pop_back();
                    const std::int32_t x = cell % w;
                    const std::int32_t y = cell / w;
                    place.X0 = std::min(place.X0, x);
                    place.X1 = std::max(place.X1, x);
                    place.Y0 = std::min(place.Y0, y);
                    place.Y1 = std::max(place.Y1, y);
                    ++place.CellCount;
                    for (const std::int64_t step : steps[std::size_t(cell)]) {
                        ++perSecond[step / project.VMax];
                        place.FirstStep = std::min(place.FirstStep, step);
                        place.LastStep = std::max(place.LastStep, step);
                    }
                    for (std::int32_t ny = std::max(y - 1, 0); ny <= std::min(y + 1, h - 1); ++ny) {
                        for (std::int32_t nx = std::max(x - 1, 0); nx <= std::min(x + 1, w - 1);
                             ++nx) {
                            const std::size_t next = std::size_t(ny * w + nx);
                            if (!steps[next].empty() && !seen[next]) {
                                seen[next] = true;
                                open.push_back(ny * w + nx);
                            }
                        }
                    }
                }
                for (const auto& [second, persons] : perSecond) {
                    place.PerSecond.push_back({second, persons});
                    place.Total += persons;
                    place.PeakPerSecond = std::max(place.PeakPerSecond, persons);
                }
                place.WidthCells = std::max(place.X1 - place.X0, place.Y1 - place.Y0) + 1;
                places.push_back(place);
            }
        }
    }
    const auto order = [](const TFlowPlace& p) {
        return std::tie(p.Kind, p.Deck, p.Y0, p.X0, p.Y1, p.X1);
    };
    std::sort(places.begin(), places.end(),
              [&](const TFlowPlace& a, const TFlowPlace& b) { return order(a) < order(b); });
    return places;
}

// Decks of 6 x 6 free cells; persons given as "x y deck: moves".
// Decks of 6 x 6 cells, free unless the rows of the top deck are given.
std::string DecksProject(int decks, int vMax, const std::vector<std::string>& persons,
                         const std::vector<std::string>& topRows = {}) {
    std::string text = "<header>\nversion 1\npmax " + std::to_string(persons.size()) +
                       "\nxmax 6\nymax 6\nzmax " + std::to_string(decks) + "\nvmax " +
                       std::to_string(vMax) + "\n</header>\n";
    for (int d = 0; d < decks; ++d) {
        text += "<deck>\nlevel " + std::to_string(d) + "\n(celldata)\n";
        for (int y = 0; y < 6; ++y) {
            text += (d == decks - 1 && !topRows.empty() ? topRows[std::size_t(y)] : "P6x0") + "\n";
        }
        text += "</deck>\n";
    }
    text += "<persons>\n<startpositions>\n";
    for (const std::string& person : persons) {
        text += person.substr(0, person.find(':')) + " 1 0\n";
    }
    text += "(movement)\n";
    for (const std::string& person : persons) {
        text += person.substr(person.find(':') + 1) + "\n";
    }
    return text + "</persons>\n";
}

} // namespace

TEST(Flows, EqualAReplayThatWatchesEveryStep) {
    std::mt19937 random(20261214);
    std::int64_t offTheGrid = 0;
    for (int project = 0; project < 200; ++project) {
        const std::string text = RandomProject(random, project % 4 + 1, 0);
        SCOPED_TRACE(text);
        TLoadedProject loaded(text);
        const TFlowReport report = AnalyseFlows(loaded.Project, {});
        const std::vector<TPassage> passages = PassagesByReplay(loaded.Project);
        EXPECT_EQ(PlaceTexts(report.Places),
                  PlaceTexts(PlacesOfPassages(passages, loaded.Project)));
        EXPECT_EQ(report.Persons, std::ssize(loaded.Project.Persons));
        EXPECT_EQ(report.LeavingAtNoExit,
                  std::ranges::count_if(passages, [](const TPassage& p) { return p.Deck < 0; }));
        offTheGrid += report.LeavingAtNoExit;
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GT(offTheGrid, 0) << "some persons leave off the grid";
}

// Two steps a second. A door of two cells in row 0 is one exit: persons leave there at steps 1,
// 2, 2 and 4, so in seconds 0, 1, 1 and 2. Cells that touch at a corner are one exit too; a cell
// that touches no other is an exit of its own.
TEST(Flows, TouchingExitCellsAreOneExitCountedPerWholeSecond) {
    TLoadedProject loaded(FloorProject(8, 2, 0,
                                       {{3, 1, "1 S"},
                                        {4, 0, "S"},
                                        {3, 0, "0 S"},
                                        {4, 2, "1 1 0 S"},
                                        {6, 6, "P3x0 S"},
                                        {7, 7, "P20x0 S"},
                                        {0, 5, "P5x0 S"}}));
    EXPECT_EQ(FlowsOf(loaded.Project),
              (std::vector<std::string>{
                  "exit deck 0 [3,0 4,0] cells 2 width 2 total 4 steps 1..4 peak 2 seconds 0:1 "
                  "1:2 2:1",
                  "exit deck 0 [0,5 0,5] cells 1 width 1 total 1 steps 6..6 peak 1 seconds 3:1",
                  "exit deck 0 [6,6 7,7] cells 2 width 2 total 2 steps 4..21 peak 1 seconds 2:1 "
                  "10:1"}));
}

// A person who goes up twice passes a stair on each deck it leaves, at the cell it stood on when
// the entry began; a change with no direction stands, but changes the deck. In a run of changes
// (the list holds five U0 as one) only the entries that begin on a deck pass a stair: from below
// the first deck, past the last one.
TEST(Flows, EachDeckChangeIsAPassageOfTheStairOnTheDeckLeft) {
    TLoadedProject loaded(DecksProject(
        3, 1, {"1 1 0: U0 3 U3 S", "4 4 2: D9 D0 S", "0 5 0: D0 U0 U0 U0 U0 U0 S", "2 3 1: D0 S"}));
    EXPECT_EQ(FlowsOf(loaded.Project),
              (std::vector<std::string>{
                  "exit deck 0 [2,3 2,3] cells 1 width 1 total 1 steps 2..2 peak 1 seconds 2:1",
                  "exit deck 0 [4,4 4,4] cells 1 width 1 total 1 steps 3..3 peak 1 seconds 3:1",
                  "exit deck 2 [3,1 3,1] cells 1 width 1 total 1 steps 4..4 peak 1 seconds 4:1",
                  "stair deck 0 [1,1 1,1] cells 1 width 1 total 1 steps 1..1 peak 1 seconds 1:1",
                  "stair deck 0 [0,5 0,5] cells 1 width 1 total 2 steps 1..3 peak 1 seconds 1:1 "
                  "3:1",
                  "stair deck 1 [2,1 2,1] cells 1 width 1 total 1 steps 3..3 peak 1 seconds 3:1",
                  "stair deck 1 [2,3 2,3] cells 1 width 1 total 1 steps 1..1 peak 1 seconds 1:1",
                  "stair deck 1 [4,4 4,4] cells 1 width 1 total 1 steps 2..2 peak 1 seconds 2:1",
                  "stair deck 1 [0,5 0,5] cells 1 width 1 total 1 steps 4..4 peak 1 seconds 4:1",
                  "stair deck 2 [4,4 4,4] cells 1 width 1 total 1 steps 1..1 peak 1 seconds 1:1",
                  "stair deck 2 [0,5 0,5] cells 1 width 1 total 1 steps 5..5 peak 1 seconds 5:1"}));
}

// Stair cells in one area of one colour are one stair, however far apart: a stairwell. Areas of
// one colour that do not touch are two, and exits are not grouped by colour.
TEST(Flows, StairCellsInOneColouredAreaAreOneStair) {
    const std::vector<std::string> top{"P6x0",        "0 2 2 2 2 0", "P6x0",
                                       "0 2 0 0 2 0", "P6x0",        "P6x0"};
    TLoadedProject loaded(DecksProject(
        2, 1,
        {"1 1 1: D0 S", "4 1 1: D0 S", "1 3 1: D0 S", "4 3 1: D0 S", "1 1 1: S", "4 1 1: 0 S"},
        top));
    const std::vector<std::string> flows = FlowsOf(loaded.Project);
    const std::vector<std::string> stairs(flows.end() - 3, flows.end());
    EXPECT_EQ(stairs, (std::vector<std::string>{
                          "stair deck 1 [1,1 4,1] cells 2 width 4 total 2 steps 1..1 peak 2 "
                          "seconds 1:2",
                          "stair deck 1 [1,3 1,3] cells 1 width 1 total 1 steps 1..1 peak 1 "
                          "seconds 1:1",
                          "stair deck 1 [4,3 4,3] cells 1 width 1 total 1 steps 1..1 peak 1 "
                          "seconds 1:1"}));
    EXPECT_EQ(flows[flows.size() - 4],
              "exit deck 1 [4,1 4,1] cells 1 width 1 total 1 steps 2..2 peak 1 seconds 2:1");
    EXPECT_EQ(flows[flows.size() - 5],
              "exit deck 1 [1,1 1,1] cells 1 width 1 total 1 steps 1..1 peak 1 seconds 1:1");
}

// The width is the longer side of the bounds: a door crossed in two rows is as wide as one row.
TEST(Flows, PeakPerMetreIsTakenOverTheWidthInTheCellSizeGiven) {
    TLoadedProject loaded(
        FloorProject(8, 1, 0, {{2, 0, "S"}, {3, 0, "S"}, {4, 0, "S"}, {2, 1, "S"}, {3, 1, "0 S"}}));
    TAnalysisSettings settings;
    settings.CellSizeMm = 500;
    const TFlowReport report = AnalyseFlows(loaded.Project, settings);
    ASSERT_EQ(report.Places.size(), 1U);
    const TFlowPlace& door = report.Places.front();
    EXPECT_EQ(door.CellCount, 5);
    EXPECT_EQ(door.WidthCells, 3);
    EXPECT_EQ(FixedText(door.WidthMetres, 3), "1.500");
    EXPECT_EQ(door.PeakPerSecond, 4);
    EXPECT_EQ(FixedText(door.PeakPerMetreSecond, 4), "2.6667");
    EXPECT_EQ(report.Settings.CellSizeMm, 500);
}
