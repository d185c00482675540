// Congestion by local density, read from the move lists as events, against a replay that steps
// through every time step and counts the persons in every window.

#include "Congestion.h"
#include "LogTestSupport.h"
#include "Replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

// The regions as a replay finds them: every step counted cell by cell, every window summed; and
// the cells persons shared, when asked for.
std::vector<TCongestionRegion> RegionsByReplay(TLogFile& project, const TAnalysisSettings& s,
                                               TSharedCells* shared = nullptr) {
    const std::int32_t width = project.XMax;
    const std::int32_t height = project.YMax;
    const std::int32_t half = s.WindowCells() / 2;
    const auto decks = static_cast<std::size_t>(project.ZMax);
    const auto cells = static_cast<std::size_t>(width * height);
    const auto walkable = [&](std::size_t d, std::int32_t x, std::int32_t y) {
        const std::uint8_t kind =
            project.Decks[d].Cells[static_cast<std::size_t>(y * width + x)].Kind;
        return kind != CellObstacle && kind != CellVoid;
    };
    const std::int32_t end = StepEverybodyHasLeft(project);
    // [deck][cell] -> the steps it was congested, and the persons and walkable cells of its
    // window each time.
    struct TCongestedStep {
        std::int32_t Step, Persons, Cells;
    };
    std::vector<std::vector<std::vector<TCongestedStep>>> congested(
        decks, std::vector<std::vector<TCongestedStep>>(cells));
    TReplay replay;
    replay.SetProject(&project);
    for (std::int32_t step = 0; step <= end; ++step) {
        replay.SeekToStep(step);
        std::vector<std::vector<std::int32_t>> count(decks, std::vector<std::int32_t>(cells));
        for (const TPersonData& person : project.Persons) {
            const std::int64_t x = person.CellX + width / 2;
            const std::int64_t y = height / 2 - person.CellY;
            if (person.Level >= 0 && person.Level < project.ZMax && x >= 0 && y >= 0 && x < width &&
                y < height) {
                ++count[static_cast<std::size_t>(person.Level)]
                       [static_cast<std::size_t>(y * width + x)];
            }
        }
        for (std::size_t d = 0; d < decks; ++d) {
            for (std::int32_t y = 0; y < height && shared != nullptr; ++y) {
                for (std::int32_t x = 0; x < width; ++x) {
                    const std::int32_t persons = count[d][static_cast<std::size_t>(y * width + x)];
                    if (persons < 2) {
                        continue;
                    }
                    ++shared->CellSteps;
                    if (std::tuple(-persons, step, d, y, x) < std::tuple(-shared->MostPersons,
                                                                         shared->Step, shared->Deck,
                                                                         shared->Y, shared->X)) {
                        *shared = {persons,          static_cast<std::int32_t>(d), x, y, step,
                                   shared->CellSteps};
                    }
                }
            }
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x < width; ++x) {
                    if (!walkable(d, x, y)) {
                        continue;
                    }
                    std::int32_t persons = 0;
                    std::int32_t free = 0;
                    for (std::int32_t wy = std::max(y - half, 0);
                         wy <= std::min(y + half, height - 1); ++wy) {
                        for (std::int32_t wx = std::max(x - half, 0);
                             wx <= std::min(x + half, width - 1); ++wx) {
                            persons += count[d][static_cast<std::size_t>(wy * width + wx)];
                            free += walkable(d, wx, wy) ? 1 : 0;
                        }
                    }
                    // Exceeding in whole numbers, as persons/m² in tenths.
                    if (std::int64_t{persons} * 10'000'000 >
                        std::int64_t{s.CongestionDensityTenths} * free * s.CellSizeMm *
                            s.CellSizeMm) {
                        congested[d][static_cast<std::size_t>(y * width + x)].push_back(
                            {step, persons, free});
                    }
                }
            }
        }
    }
    std::vector<TCongestionRegion> regions;
    for (std::size_t d = 0; d < decks; ++d) {
        std::vector<int> region(cells, -1);
        for (std::size_t start = 0; start < cells; ++start) {
            if (congested[d][start].empty() || region[start] >= 0) {
                continue;
            }
            TCongestionRegion found;
            found.Deck = static_cast<std::int32_t>(d);
            found.X0 = found.Y0 = std::numeric_limits<std::int32_t>::max();
            found.X1 = found.Y1 = -1;
            std::vector<std::size_t> members{start};
            region[start] = static_cast<int>(regions.size());
            for (std::size_t i = 0; i < members.size(); ++i) {
                const auto x =
                    static_cast<std::int32_t>(members[i] % static_cast<std::size_t>(width));
                const auto y =
                    static_cast<std::int32_t>(members[i] / static_cast<std::size_t>(width));
                found.X0 = std::min(found.X0, x);
                found.X1 = std::max(found.X1, x);
                found.Y0 = std::min(found.Y0, y);
                found.Y1 = std::max(found.Y1, y);
                for (std::int32_t ny = y - 1; ny <= y + 1; ++ny) {
                    for (std::int32_t nx = x - 1; nx <= x + 1; ++nx) {
                        const auto n = static_cast<std::size_t>(ny * width + nx);
                        if (nx >= 0 && ny >= 0 && nx < width && ny < height &&
                            !congested[d][n].empty() && region[n] < 0) {
                            region[n] = region[start];
                            members.push_back(n);
                        }
                    }
                }
            }
            std::sort(members.begin(), members.end());
            found.CellCount = static_cast<std::int32_t>(members.size());
            found.AreaM2 = s.SquareMetres(found.CellCount);
            std::vector<bool> any(static_cast<std::size_t>(end) + 1);
            found.PeakStep = std::numeric_limits<std::int32_t>::max();
            for (const std::size_t cell : members) {
                for (const auto& [step, persons, windowCells] : congested[d][cell]) {
                    any[static_cast<std::size_t>(step)] = true;
                    // The highest, first reached, on the first cell in the order of the rows;
                    // densities compared exactly, as persons over cells.
                    const auto x =
                        static_cast<std::int32_t>(cell % static_cast<std::size_t>(width));
                    const auto y =
                        static_cast<std::int32_t>(cell / static_cast<std::size_t>(width));
                    const std::int64_t lower = std::int64_t{found.PeakPersons} * windowCells -
                                               std::int64_t{persons} * found.PeakWindowCells;
                    if (found.PeakWindowCells == 0 ||
                        std::tuple(lower, step, y, x) <
                            std::tuple(0, found.PeakStep, found.PeakY, found.PeakX)) {
                        found.PeakPersons = persons;
                        found.PeakWindowCells = windowCells;
                        found.PeakDensity = s.Density(persons, windowCells);
                        found.PeakStep = step;
                        found.PeakX = x;
                        found.PeakY = y;
                    }
                }
            }
            std::int32_t run = 0;
            found.FirstStep = -1;
            for (std::int32_t step = 0; step <= end; ++step) {
                if (any[static_cast<std::size_t>(step)]) {
                    found.FirstStep = found.FirstStep < 0 ? step : found.FirstStep;
                    found.LastStep = step;
                    ++found.TotalSteps;
                    found.LongestSteps = std::max(found.LongestSteps, ++run);
                } else {
                    run = 0;
                }
            }
            found.Significant = std::int64_t{found.LongestSteps} * 100 >
                                std::int64_t{s.SignificantSharePercent} * end;
            regions.push_back(found);
        }
    }
    return regions;
}

auto Fields(const TCongestionRegion& r) {
    return std::tuple(r.Deck, r.X0, r.Y0, r.X1, r.Y1, r.CellCount, r.FirstStep, r.LastStep,
                      r.LongestSteps, r.TotalSteps, r.PeakPersons, r.PeakWindowCells, r.PeakStep,
                      r.PeakX, r.PeakY, r.Significant);
}

auto Fields(const TSharedCells& s) {
    return std::tuple(s.MostPersons, s.Deck, s.X, s.Y, s.Step, s.CellSteps);
}

void ExpectSameRegions(std::vector<TCongestionRegion> found,
                       std::vector<TCongestionRegion> replayed) {
    const auto byPlace = [](const TCongestionRegion& a, const TCongestionRegion& b) {
        return Fields(a) < Fields(b);
    };
    std::sort(found.begin(), found.end(), byPlace);
    std::sort(replayed.begin(), replayed.end(), byPlace);
    ASSERT_EQ(found.size(), replayed.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(Fields(found[i]), Fields(replayed[i])) << "region " << i;
        EXPECT_EQ(FixedText(found[i].PeakDensity, 6), FixedText(replayed[i].PeakDensity, 6));
        EXPECT_EQ(FixedText(found[i].AreaM2, 6), FixedText(replayed[i].AreaM2, 6));
    }
}

// Random crowds on three small decks, with runs of standing, deck changes and invalid directions,
// judged with several windows and thresholds: the events give what counting every step gives.
TEST(Congestion, AgreesWithCountingEveryStep) {
    std::mt19937 random(20261208);
    int regionsSeen = 0;
    int sharedSeen = 0;
    for (int round = 0; round < 150; ++round) {
        TLoadedProject loaded;
        ASSERT_TRUE(loaded.Load(RandomProject(random, 1 + round % 3, 0)));
        TAnalysisSettings settings;
        settings.DensityWindowMm = round % 2 == 0 ? 1200 : 400;
        settings.CongestionDensityTenths = 10 + 10 * (round % 4);
        settings.SignificantSharePercent = round % 3 == 0 ? 0 : 10;
        const TCongestionReport report = AnalyseCongestion(loaded.Project, settings);
        regionsSeen += static_cast<int>(report.Regions.size());
        sharedSeen += report.Shared.Any() ? 1 : 0;
        SCOPED_TRACE(round);
        TSharedCells shared;
        ExpectSameRegions(report.Regions, RegionsByReplay(loaded.Project, settings, &shared));
        EXPECT_EQ(Fields(report.Shared), Fields(shared));
    }
    EXPECT_GT(regionsSeen, 100) << "the rounds must find congestion to compare";
    EXPECT_GT(sharedSeen, 30) << "the rounds must find persons sharing cells to compare";
}

// Persons who stand for thousands of steps before they walk, far beyond the steps read at once,
// and crowds of thousands, whose steps are read and measured on all cores: the same regions as
// counting every step.
TEST(Congestion, LongWaitsAndLargeCrowdsAgreeWithCountingEveryStep) {
    std::mt19937 random(20261209);
    const TRandomShape waiting{.LongestWait = 9000};
    const TRandomShape crowd{.Size = 40, .FewestPersons = 2500, .Persons = 3000, .Entries = 12};
    for (int round = 0; round < 8; ++round) {
        TLoadedProject loaded;
        ASSERT_TRUE(loaded.Load(RandomProject(random, 1, 0, round < 6 ? waiting : crowd)));
        TAnalysisSettings settings;
        settings.DensityWindowMm = round % 2 == 0 ? 1200 : 400;
        settings.CongestionDensityTenths = round < 6 ? 10 : 60;
        const TCongestionReport report = AnalyseCongestion(loaded.Project, settings);
        SCOPED_TRACE(round);
        EXPECT_FALSE(report.Regions.empty()) << "the round must find congestion to compare";
        TSharedCells shared;
        ExpectSameRegions(report.Regions, RegionsByReplay(loaded.Project, settings, &shared));
        EXPECT_EQ(Fields(report.Shared), Fields(shared));
    }
}

// A wall across a deck with a door one cell wide: forty persons crowd before it and pass one a
// step, which is significant congestion; twelve persons walking three cells apart are none.
TEST(Congestion, ACrowdBeforeADoorIsFlaggedAndASparseWalkIsNot) {
    std::string deck;
    for (int y = 0; y < 12; ++y) {
        deck += y == 6 ? "P10x0 0 P9x0\n" : "P10x0 1 P9x0\n";
    }
    const auto project = [&](int persons, const std::string& starts, const std::string& moves) {
        return "<header>\npmax " + std::to_string(persons) +
               "\nxmax 20\nymax 12\nzmax 1\nvmax 1\ntoff 0\nversion 1\n</header>\n"
               "<deck>\ncaption Hold\nlevel 0\n(celldata)\n" +
               deck + "</deck>\n<persons>\n<startpositions>\n" + starts + "(movement)\n" + moves +
               "</persons>\n";
    };
    // Row by row into the door's row, then one a step through the door at (10, 6).
    std::string starts;
    std::string crowd;
    for (int p = 0; p < 40; ++p) {
        starts += std::to_string(2 + p % 8) + " " + std::to_string(2 + p / 8) + " 0 3 0\n";
        crowd += "P" + std::to_string(p) + "x0 P" + std::to_string(10 - 2 - p % 8) + "x3 S\n";
    }
    TLoadedProject crowded;
    ASSERT_TRUE(crowded.Load(project(40, starts, crowd)));
    const TCongestionReport report = AnalyseCongestion(crowded.Project, {});
    ASSERT_GE(report.Regions.size(), 1U);
    EXPECT_TRUE(report.Regions.front().Significant);
    ExpectSameRegions(report.Regions, RegionsByReplay(crowded.Project, {}));

    std::string apart;
    std::string walks;
    for (int p = 0; p < 12; ++p) {
        apart += std::to_string(1 + 3 * (p % 6) + (p % 6 >= 3 ? 1 : 0)) + " " +
                 std::to_string(p < 6 ? 1 : 9) + " 0 3 0\n";
        walks += "3 3 P5x0 S\n";
    }
    TLoadedProject sparse;
    ASSERT_TRUE(sparse.Load(project(12, apart, walks)));
    EXPECT_TRUE(AnalyseCongestion(sparse.Project, {}).Regions.empty());
}

// Sixteen persons on one cell, in a free window of 5 x 5 cells of 0.4 m around it, stand at exactly
// 4 persons/m², which does not exceed the threshold; seventeen do. Standing 10 % of the time
// everybody takes to leave is not significant; one step more is.
TEST(Congestion, TheThresholdAndTheShareAreExceededOnlyBeyondTheirValues) {
    const auto standing = [](int persons, int steps, int lastLeaves) {
        std::string text = "<header>\npmax " + std::to_string(persons + 1) +
                           "\nxmax 13\nymax 13\nzmax 1\nvmax 1\ntoff 0\nversion 1\n</header>\n"
                           "<deck>\nlevel 0\n(celldata)\n";
        for (int y = 0; y < 13; ++y) {
            text += "P13x0\n";
        }
        text += "</deck>\n<persons>\n<startpositions>\n";
        for (int p = 0; p < persons; ++p) {
            text += "4 4 0 1 0\n";
        }
        text += "12 12 0 1 0\n(movement)\n"; // far from the crowd, the last to leave
        for (int p = 0; p < persons; ++p) {
            text += "P" + std::to_string(steps) + "x0 S\n";
        }
        return text + "P" + std::to_string(lastLeaves) + "x0 S\n</persons>\n";
    };
    TLoadedProject sixteen(standing(16, 20, 99));
    EXPECT_TRUE(AnalyseCongestion(sixteen.Project, {}).Regions.empty());
    // Seventeen stand on one cell from step 0 to step 9, ten steps; everybody has left at 100.
    TLoadedProject seventeen(standing(17, 9, 99));
    const TCongestionReport tenth = AnalyseCongestion(seventeen.Project, {});
    ASSERT_EQ(tenth.Regions.size(), 1U);
    EXPECT_EQ(tenth.AssemblySteps, 100);
    EXPECT_EQ(tenth.Regions[0].LongestSteps, 10);
    EXPECT_EQ(tenth.Regions[0].CellCount, 25) << "every cell whose window holds the crowd";
    EXPECT_EQ(FixedText(tenth.Regions[0].PeakDensity, 2), "4.25"); // 17 in 25 cells of 0.16 m²
    EXPECT_FALSE(tenth.Regions[0].Significant);
    TLoadedProject longer(standing(17, 10, 99));
    EXPECT_TRUE(AnalyseCongestion(longer.Project, {}).Regions[0].Significant);
}

// The counts of every window take memory by the grid the header announces, and the persons'
// changes by their number: more than the project may use is refused before anything is made.
TEST(Congestion, AGridTooLargeForTheMemoryIsRefused) {
    std::mt19937 random(7);
    TLoadedProject loaded;
    ASSERT_TRUE(loaded.Load(RandomProject(random, 1, 0, {.FewestPersons = 5, .Persons = 5})));
    EXPECT_EQ(CongestionRefusal(loaded.Project), std::nullopt);
    loaded.Project.MemoryLimit = 3 * 7 * 7 * 32; // three decks of 6 x 6 cells, no person
    EXPECT_EQ(CongestionRefusal(loaded.Project),
              "measuring congestion on 3 decks of 6 x 6 cells with 5 persons would take 0 MB, more "
              "than the 0 MB the program may use");
    loaded.Project.MemoryLimit = 3 * 7 * 7 * 32 + 5 * 4096;
    EXPECT_EQ(CongestionRefusal(loaded.Project), std::nullopt);
}

// A header announcing a negative size, as the fuzzer wrote one: no cell, no region, no crash.
TEST(Congestion, ADeckOfNegativeSizeHasNoRegions) {
    TLoadedProject loaded;
    ASSERT_TRUE(loaded.Load("<header>\npmax 1\nxmax 600\nymax -400\nzmax 1\nvmax 1\n"
                            "</header>\n<persons>\n<startpositions>\n3 3 0 1 0\n(movement)\n"
                            "3 3 S\n</persons>\n"));
    ASSERT_EQ(CongestionRefusal(loaded.Project), std::nullopt);
    EXPECT_TRUE(AnalyseCongestion(loaded.Project, {}).Regions.empty());
}

TEST(Congestion, TheWindowIsTheNearestOddNumberOfCells) {
    const auto cells = [](std::int32_t windowMm, std::int32_t cellMm) {
        TAnalysisSettings settings;
        settings.DensityWindowMm = windowMm;
        settings.CellSizeMm = cellMm;
        return settings.WindowCells();
    };
    EXPECT_EQ(cells(2000, 400), 5);
    EXPECT_EQ(cells(1600, 400), 5) << "4 cells lie as near to 3 as to 5: the larger";
    EXPECT_EQ(cells(1500, 400), 3);
    EXPECT_EQ(cells(100, 400), 1);
    EXPECT_EQ(cells(2000, 0), 1);
}

} // namespace

// Three persons gather on one cell and leave it one after the other: the line says how many, when
// as the replay shows it, where by the deck's caption and the cell, and the steps cells were
// shared; a 0.5 m cell holds one person at 4 persons/m². Persons apart give no line.
TEST(Congestion, PersonsSharingACellAreToldWhereWhenAndHowOften) {
    const std::vector<TTestPerson> gathering{
        {3, 2, "P4x0 S"}, {2, 2, "3 P3x0 S"}, {1, 2, "3 3 0 S"}};
    TLoadedProject loaded;
    ASSERT_TRUE(loaded.Load(FloorProject(8, 2, 60, gathering)));
    TAnalysisSettings settings;
    const TCongestionReport report = AnalyseCongestion(loaded.Project, settings);
    EXPECT_EQ(SharedCellsText(report, loaded.Project, "Deck 1 - Floor"),
              "3 persons on one cell at 1:01, Deck 1 - Floor, cell 3, 2; 4 cell-steps hold more "
              "than one person: densities above 6.25 persons/m² count persons a cell cannot hold");
    settings.CellSizeMm = 500;
    const auto wider =
        SharedCellsText(AnalyseCongestion(loaded.Project, settings), loaded.Project, "Floor");
    ASSERT_TRUE(wider.has_value());
    EXPECT_NE(wider->find("densities above 4.00 persons/m²"), std::string::npos) << *wider;

    TLoadedProject apart;
    ASSERT_TRUE(apart.Load(FloorProject(8, 2, 60, {{3, 2, "P4x0 S"}, {1, 2, "3 P2x0 S"}})));
    EXPECT_EQ(SharedCellsText(AnalyseCongestion(apart.Project, settings), apart.Project, "Floor"),
              std::nullopt);
}
