// Many runs of a scenario: the figures of each log, and the value higher than 95 % of the runs
// by the guidelines' ranking rule.

#include "RunSummary.h"
#include "LogTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <tuple>
#include <unistd.h>

namespace {

std::vector<TRunSummary> RunsOf(const std::vector<std::int64_t>& milliseconds) {
    std::vector<TRunSummary> runs;
    for (std::size_t k = 0; k < milliseconds.size(); ++k) {
        TRunSummary run;
        run.File = "run" + std::to_string(k) + ".3dl";
        run.Left.AllMs = milliseconds[k];
        runs.push_back(run);
    }
    return runs;
}

auto Fields(const TRunSummary& run) {
    return std::tuple(run.File, run.Persons, run.Left.AllMs, run.Left.HalfMs, run.Left.NineTenthsMs,
                      run.SignificantRegions, run.Fault);
}

} // namespace

// Ranked from the lowest: the first value with 95 % of the values before it; below 20 runs no
// value has, and the highest is taken. Equal values keep the order of the list.
TEST(RunSummary, TheNinetyFifthValueIsTheFirstWithNinetyFivePercentBelowIt) {
    EXPECT_EQ(NinetyFifthRank(1), 1U);
    EXPECT_EQ(NinetyFifthRank(19), 19U);
    EXPECT_EQ(NinetyFifthRank(20), 20U);
    EXPECT_EQ(NinetyFifthRank(21), 21U);
    EXPECT_EQ(NinetyFifthRank(40), 39U);
    EXPECT_EQ(NinetyFifthRank(100), 96U);
    EXPECT_EQ(NinetyFifthRank(500), 476U);

    std::vector<std::int64_t> hundred(100);
    std::iota(hundred.begin(), hundred.end(), 1);
    std::shuffle(hundred.begin(), hundred.end(), std::mt19937(5));
    const std::vector<TRunSummary> runs = RunsOf(hundred);
    const TRunsFigures figures = FiguresOver(runs).value();
    EXPECT_EQ(figures.Counted, 100U);
    EXPECT_EQ(FixedText(figures.MeanSeconds, 4), "0.0505");
    EXPECT_EQ(runs[figures.Least.Run].Left.AllMs, 1);
    EXPECT_EQ(runs[figures.Greatest.Run].Left.AllMs, 100);
    EXPECT_EQ(figures.NinetyFifth.Milliseconds, 96);
    EXPECT_EQ(runs[figures.NinetyFifth.Run].Left.AllMs, 96);
    EXPECT_FALSE(figures.FewerThanTwenty());

    // 21 runs: only the highest has 95 % (20 of 21) before it. Ties: the first in the list.
    std::vector<std::int64_t> ties(21, 30);
    ties[4] = ties[9] = 45;
    ties[2] = ties[7] = 12;
    const TRunsFigures tied = FiguresOver(RunsOf(ties)).value();
    EXPECT_EQ(tied.Least.Run, 2U);
    EXPECT_EQ(tied.Greatest.Run, 4U);
    EXPECT_EQ(tied.NinetyFifthRank, 21U);
    EXPECT_EQ(tied.NinetyFifth.Run, 4U) << "rank 21 is the later of the two equal highest, but "
                                           "a time names the first run with it";

    // A run left out never counts, however long its time; fewer than 20 is said.
    std::vector<TRunSummary> few = RunsOf({10'000, 20'000, 30'000});
    few[1].Fault = "line 3: cut";
    few[1].Left.AllMs = 999'000;
    const TRunsFigures counted = FiguresOver(few).value();
    EXPECT_EQ(counted.Counted, 2U);
    EXPECT_EQ(counted.LeftOut, 1U);
    EXPECT_EQ(counted.NinetyFifth.Milliseconds, 30'000);
    EXPECT_EQ(FixedText(counted.MeanSeconds, 3), "20.000");
    EXPECT_TRUE(counted.FewerThanTwenty());
    few[0].Fault = few[2].Fault = "no project header";
    EXPECT_EQ(FiguresOver(few), std::nullopt);
}

// Logs with known leave times read on two threads, beside a cut one, a missing one and a text
// that is no log; the table of runs reads back as it was written, names with commas and quotes
// too.
TEST(RunSummary, EachLogGivesTheTimesItsPersonsLeaveAtOrItsFirstFault) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ambla-runs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream((dir / name).string(), std::ios::binary) << text;
        return (dir / name).string();
    };
    // Leaving at steps 4, 8, 10 and 20: half have left at step 8, nine tenths at step 20.
    const std::string known = write("known, \"a\".3dl", LogWithLists({3, 7, 9, 19}));
    const std::string longer = write("longer.3dl", LogWithLists({1, 1, 1, 1, 1, 1, 1, 1, 1, 59}));
    const std::string whole = LogWithLists({5, 5});
    const std::string cut = write("cut.3dl", whole.substr(0, whole.find("(movement)") + 14));
    const std::string text = write("notes.3dl", "the runs of Tuesday\n");
    const std::string missing = (dir / "missing.3dl").string();

    const std::vector<TRunSummary> runs =
        SummariseRuns({known, cut, longer, missing, text}, {}, 2, false);
    ASSERT_EQ(runs.size(), 5U);
    EXPECT_EQ(Fields(runs[0]), std::tuple(known, 4, 20'000, 14'000, 20'000, 0, std::string()));
    EXPECT_EQ(Fields(runs[2]), std::tuple(longer, 10, 40'000, 11'000, 11'000, 0, std::string()));
    EXPECT_EQ(runs[1].Fault.rfind("line ", 0), 0U) << runs[1].Fault;
    EXPECT_NE(runs[1].Fault.find("ends early"), std::string::npos) << runs[1].Fault;
    EXPECT_NE(runs[3].Fault.find("Cannot open file"), std::string::npos) << runs[3].Fault;
    EXPECT_EQ(runs[4].Fault, "no project header");
    EXPECT_FALSE(runs[0].Curve.has_value());
    EXPECT_EQ(SummariseRun(known, {}, true).Curve->Saved.back(), 4);

    std::string problem;
    const std::vector<TRunSummary> read = RunsFromCsv(RunsCsv(runs), problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(read.size(), runs.size());
    for (std::size_t k = 0; k < runs.size(); ++k) {
        EXPECT_EQ(Fields(read[k]), Fields(runs[k]));
    }
    EXPECT_TRUE(RunsFromCsv("deck,x0\n1,2\n", problem).empty());
    EXPECT_NE(problem.find("not a table of runs"), std::string::npos);
    RunsFromCsv(RunsCsv(runs) + "x.3dl,many,1,2,3,4,\n", problem);
    EXPECT_EQ(problem, "line 7: not a row of "
                       "file,persons,all_left_s,p50_s,p90_s,significant_regions,fault");
    std::filesystem::remove_all(dir);
}
