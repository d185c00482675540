// The evacuation curve and the congestion map, taken from the move lists in one pass, against a
// replay that steps through every time step and counts.

#include "EvacuationAnalysis.h"
#include "LogTestSupport.h"
#include "Replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>

namespace {

// The replay stepped through every time step: the counts at each whole second, and the steps
// stood on each cell, counted on the cell each person stands on before its step.
struct TReplayCount {
    std::vector<std::int32_t> Saved;
    std::vector<std::vector<std::int32_t>> OnDeck;
    std::vector<std::vector<std::int32_t>> StandingSteps;
    // The steps stood up to each row's step.
    std::vector<std::vector<std::vector<std::int32_t>>> StandingAtRow;
};

TReplayCount CountByReplay(TLogFile& project, std::int32_t rows) {
    const auto decks = static_cast<std::size_t>(project.ZMax);
    TReplayCount count{{},
                       std::vector<std::vector<std::int32_t>>(decks),
                       std::vector<std::vector<std::int32_t>>(
                           decks, std::vector<std::int32_t>(
                                      static_cast<std::size_t>(project.XMax * project.YMax))),
                       {}};
    std::vector<std::vector<TMove>> lists;
    for (const TPersonData& person : project.Persons) {
        lists.push_back(person.ExpandedMoves());
    }
    TReplay replay;
    replay.SetProject(&project);
    const std::int32_t stepsPerRow = std::max(project.VMax, 1);
    for (std::int32_t row = 0; row < rows; ++row) {
        while (project.VMax > 0 && replay.TimeStep() < row * stepsPerRow) {
            const std::int32_t k = replay.TimeStep();
            for (std::size_t p = 0; p < lists.size(); ++p) {
                const TPersonData& person = project.Persons[p];
                const std::int64_t x = person.CellX + project.XMax / 2;
                const std::int64_t y = project.YMax / 2 - person.CellY;
                if (k < person.MoveCount && lists[p][static_cast<std::size_t>(k)].Direction == 0 &&
                    person.Level >= 0 && person.Level < project.ZMax && x >= 0 && y >= 0 &&
                    x < project.XMax && y < project.YMax) {
                    ++count.StandingSteps[static_cast<std::size_t>(person.Level)]
                                         [static_cast<std::size_t>(y * project.XMax + x)];
                }
            }
            replay.StepForward();
        }
        count.StandingAtRow.push_back(count.StandingSteps);
        count.Saved.push_back(replay.SavedCount());
        for (std::size_t d = 0; d < decks; ++d) {
            std::int32_t on = 0;
            for (const TPersonData& person : project.Persons) {
                on += person.Level == static_cast<std::int32_t>(d) ? 1 : 0;
            }
            count.OnDeck[d].push_back(on);
        }
    }
    return count;
}

// Steps stood as the map's seconds; no values for a deck the whole map has none for.
std::vector<std::vector<float>> MapSeconds(const std::vector<std::vector<std::int32_t>>& steps,
                                           const TCongestionMap& whole) {
    std::vector<std::vector<float>> seconds(whole.StandingSeconds.size());
    for (std::size_t d = 0; d < seconds.size(); ++d) {
        for (std::size_t cell = 0; !whole.StandingSeconds[d].empty() && cell < steps[d].size();
             ++cell) {
            seconds[d].push_back(float(steps[d][cell]) / float(whole.StepsPerSecond));
        }
    }
    return seconds;
}

} // namespace

TEST(EvacuationAnalysis, CurveAndMapEqualAReplayThatCountsEveryStep) {
    std::mt19937 random(20261207);
    for (int project = 0; project < 150; ++project) {
        const int vMax = project % 4 + 1;
        const std::string text = RandomProject(random, vMax, project % 7 - 3);
        SCOPED_TRACE(text);
        TLoadedProject loaded(text);
        const TEvacuationAnalysis analysis = AnalyseEvacuation(loaded.Project);
        const TEvacuationCurve& curve = analysis.Curve;
        TReplay replay;
        replay.SetProject(&loaded.Project);
        ASSERT_EQ(curve.RowCount(), replay.LastSecond() + 1);
        const TReplayCount count = CountByReplay(loaded.Project, curve.RowCount());
        EXPECT_EQ(curve.Saved, count.Saved);
        EXPECT_EQ(curve.Saved.back(), loaded.Project.PMax) << "everybody has left at the end";
        EXPECT_EQ(curve.OnDeck, count.OnDeck);
        for (std::size_t d = 0; d < count.StandingSteps.size(); ++d) {
            std::vector<float> seconds;
            for (const std::int32_t steps : count.StandingSteps[d]) {
                seconds.push_back(float(steps) / float(vMax));
            }
            if (std::all_of(seconds.begin(), seconds.end(), [](float s) { return s == 0.0f; })) {
                seconds.clear(); // nobody stood there: no values
            }
            EXPECT_EQ(analysis.Map.StandingSeconds[d], seconds) << "deck " << d;
        }
        if (HasFailure()) {
            return;
        }
    }
}

// Four persons who leave after 0, 3, 5 and 9 entries, at two steps a second with an offset of
// 10 s: everybody has left at step 10, the fifth whole second; half at step 4.
TEST(EvacuationAnalysis, CsvHasARowPerSecondAndTheShareTimesAreTheStepsTheyAreReached) {
    TLoadedProject loaded(FloorProject(
        8, 2, 10, {{0, 0, "S"}, {1, 1, "0 0 0 S"}, {2, 2, "3 3 3 3 3 S"}, {3, 3, "P9x0 S"}}));
    const TEvacuationCurve curve = AnalyseEvacuation(loaded.Project).Curve;
    EXPECT_EQ(curve.Csv(), "time,saved,Floor\n"
                           "10,0,4\n"
                           "11,1,3\n"
                           "12,2,2\n"
                           "13,3,1\n"
                           "14,3,1\n"
                           "15,4,0\n");
    ASSERT_TRUE(curve.Leaving);
    EXPECT_EQ(curve.Leaving->HalfMs, 12'000);       // step 4
    EXPECT_EQ(curve.Leaving->NineTenthsMs, 15'000); // step 10
    EXPECT_EQ(curve.Leaving->AllMs, 15'000);
    const TCongestionMap map = AnalyseEvacuation(loaded.Project).Map;
    EXPECT_EQ(map.StandingSeconds[0][3 * 8 + 3], 4.5f); // nine steps at two a second
    EXPECT_EQ(map.StandingSeconds[0][1 * 8 + 1], 1.5f);
    EXPECT_EQ(map.MostSeconds(0), 4.5f);
}

// The map up to a step, kept as the replay moves: empty at step 0; at every whole second what a
// replay stood up to it, whether reached by jumps back and forth or step by step; the whole map
// once everybody has left, with the whole map's scale throughout.
TEST(EvacuationAnalysis, TheMapUpToNowIsWhatTheReplayStoodUpToIt) {
    std::mt19937 random(20261210);
    for (int project = 0; project < 60; ++project) {
        const int vMax = project % 3 + 1;
        const std::string text = RandomProject(random, vMax, 0);
        SCOPED_TRACE(text);
        TLoadedProject loaded(text);
        const TEvacuationAnalysis analysis =
            AnalyseEvacuation(loaded.Project, TStandingChanges::Kept);
        const TCongestionMap& whole = analysis.Map;
        const TReplayCount count = CountByReplay(loaded.Project, analysis.Curve.RowCount());
        TCongestionMapNow jumping(whole);
        jumping.MoveTo(0, 0);
        EXPECT_EQ(jumping.Map().StandingSeconds, MapSeconds(count.StandingAtRow[0], whole));
        std::vector<std::int32_t> rows(count.StandingAtRow.size());
        std::iota(rows.begin(), rows.end(), 0);
        std::shuffle(rows.begin(), rows.end(), random);
        for (const std::int32_t row : rows) {
            jumping.MoveTo(row * vMax, row);
            EXPECT_EQ(jumping.Map().StandingSeconds,
                      MapSeconds(count.StandingAtRow[static_cast<std::size_t>(row)], whole))
                << "jumped to second " << row;
        }
        TCongestionMapNow stepping(whole);
        for (std::int32_t step = 0; step <= ReplayEndStep(loaded.Project); ++step) {
            stepping.MoveTo(step, step / vMax);
            if (step % vMax == 0) {
                EXPECT_EQ(
                    stepping.Map().StandingSeconds,
                    MapSeconds(count.StandingAtRow[static_cast<std::size_t>(step / vMax)], whole))
                    << "stepped to " << step;
            }
        }
        EXPECT_EQ(stepping.Map().StandingSeconds, whole.StandingSeconds);
        EXPECT_EQ(stepping.Map().ScaleTop, whole.ScaleTop);
        EXPECT_EQ(stepping.Map().Whole, &whole);
        EXPECT_EQ(stepping.Map().UpToSeconds, ReplayEndStep(loaded.Project) / vMax);
        // Left out unless asked for, the stands change no figure, and no map up to now is made
        // without them.
        const TEvacuationAnalysis left = AnalyseEvacuation(loaded.Project);
        EXPECT_EQ(left.Map.StandingSeconds, whole.StandingSeconds);
        EXPECT_EQ(left.Curve.Saved, analysis.Curve.Saved);
        EXPECT_TRUE(left.Map.Changes.empty());
        EXPECT_THROW(TCongestionMapNow{left.Map}, std::invalid_argument);
        if (HasFailure()) {
            return;
        }
    }
}
