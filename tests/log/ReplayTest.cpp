// The replay without a window: stepping by steps and seconds, the loop, the whole second, the
// hooks the window draws with, and the status texts.

#include "Replay.h"
#include "EvacuationAnalysis.h"
#include "LogTestSupport.h"
#include "Trails.h"
#include "Waiting.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include <limits>
#include <tuple>

namespace {

// A loaded project and its replay.
struct TReplayed {
    explicit TReplayed(const std::string& text) : Loaded(text) {
        Replay.SetProject(&Loaded.Project);
    }
    TLoadedProject Loaded;
    TReplay Replay;
};

const std::vector<TTestPerson> TwoWalkers = {{1, 1, "3 3 3 S"}, {1, 3, "3 3 3 3 3 S"}};

} // namespace

TEST(Replay, ASecondForwardIsVMaxStepsAndTheOffsetCountsFromTheFirstStepOn) {
    for (const auto& [tOff, text] : {std::pair{0, "Time: 0:01 min"},
                                     {30, "Time: 0:31 min"},
                                     {3604, "Time: 60:05 min"},
                                     {-5, "Time: -0:04 min"},
                                     {-90, "Time: -1:29 min"}}) {
        TReplayed r(FloorProject(4, 4, tOff, {{0, 0, "P20x0 S"}}));
        EXPECT_EQ(r.Replay.TimeText(), "Time: 0:00 min");
        r.Replay.SecondForward();
        EXPECT_EQ(r.Replay.TimeStep(), 4);
        EXPECT_EQ(r.Replay.TimeText(), text);
        EXPECT_EQ(r.Replay.SavedText(), "Saved: 0");
    }
}

TEST(Replay, WithoutTimeStepsPerSecondOrAProjectNothingMoves) {
    for (const int vMax : {0, -2}) {
        TReplayed r(FloorProject(4, vMax, 0, {{1, 1, "3 3 S"}}));
        EXPECT_FALSE(r.Replay.CanPlay());
        EXPECT_TRUE(r.Replay.AtWholeSecond());
        r.Replay.SecondForward();
        r.Replay.SecondBackward();
        EXPECT_EQ(r.Replay.TimeStep(), 0);
        EXPECT_EQ(r.Loaded.Project.Persons[0].X(), CellCentreX(1, 4));
    }
    TReplay none;
    none.SecondForward();
    none.Reset();
    EXPECT_EQ(none.TimeText(), "Time: 0:00 min");
    EXPECT_EQ(none.SavedText(), "Saved: 0");
}

TEST(Replay, ForwardsStopsOnceEverybodyHasLeftAndBackwardsAtTheStart) {
    TReplayed r(FloorProject(2, 1, 0, std::vector<TTestPerson>(1005)));
    r.Replay.SecondBackward();
    EXPECT_EQ(r.Replay.TimeStep(), 0);
    r.Replay.SecondForward();
    EXPECT_EQ(r.Replay.SavedText(), "Saved: 1.005");
    r.Replay.SecondForward();
    EXPECT_EQ(r.Replay.TimeStep(), 1);
}

// The end is the first whole second at or after the step at which everybody has left; no command
// takes the replay beyond it, and none but single steps leaves it between two whole seconds.
TEST(Replay, NothingMovesTheReplayBeyondItsEnd) {
    // Four steps a second; the list of nine entries is used up at step 10: the end is step 12.
    TReplayed r(FloorProject(4, 4, 30, {{0, 0, "P9x0 S"}}));
    std::int32_t furthest = 0;
    r.Replay.AfterStep = [&] { furthest = std::max(furthest, r.Replay.TimeStep()); };
    EXPECT_EQ(r.Replay.EndStep(), 12);
    EXPECT_EQ(r.Replay.PositionText(), "0:30 / 0:33, step 0");
    for (int second = 0; second < 5; ++second) {
        r.Replay.SecondForward();
    }
    EXPECT_EQ(r.Replay.TimeStep(), 12);
    EXPECT_FALSE(r.Replay.CanStepForward());
    r.Replay.Tick(); // playing from the end starts over instead of stepping on
    EXPECT_EQ(r.Replay.TimeStep(), 0);
    EXPECT_EQ(r.Replay.PositionText(), "0:30 / 0:33, step 0");
    for (const std::int32_t far : {13, 1000, std::numeric_limits<std::int32_t>::max()}) {
        r.Replay.SeekToStep(far);
        EXPECT_EQ(r.Replay.TimeStep(), 12);
        r.Replay.SeekToSecond(far);
        EXPECT_EQ(r.Replay.TimeStep(), 12);
    }
    // A second forwards from between two seconds, before everybody has left, ends at the end.
    r.Replay.SeekToStep(9);
    r.Replay.SecondForward();
    EXPECT_EQ(r.Replay.TimeStep(), 12);
    EXPECT_EQ(r.Replay.PositionText(), "0:33 / 0:33, step 12");
    EXPECT_EQ(furthest, 12);

    // Everybody leaves on a whole second: that is the end.
    TReplayed whole(FloorProject(4, 4, 0, {{0, 0, "P7x0 S"}}));
    EXPECT_EQ(whole.Replay.EndStep(), 8);
    // Without time passing, the end is where everybody has left.
    TReplayed still(FloorProject(4, 0, 0, {{0, 0, "P9x0 S"}}));
    EXPECT_EQ(still.Replay.EndStep(), 10);
}

// Persons the header announces but the file never describes cost no record, and count as what
// they are, persons without a start or moves: saved from the first step on, in steps, jumps, the
// end and the evacuation curve alike.
TEST(Replay, PersonsTheFileNeverDescribesAreSavedFromTheFirstStep) {
    const std::string described =
        "<header>\nversion 1\npmax 6\nxmax 4\nymax 4\nzmax 1\nvmax 2\ntoff 0\n</header>\n"
        "<persons>\n<startpositions>\n0 0 0 3 0\n1 1 0 3 0\n(movement)\n3 3 3 S\n3 S\n";
    TReplayed few(described);
    TReplayed all(described + "S\nS\nS\nS\n</persons>\n");
    EXPECT_LE(few.Loaded.Project.Persons.size(), 3u);
    ASSERT_EQ(all.Loaded.Project.Persons.size(), 6u);
    ASSERT_EQ(few.Replay.EndStep(), all.Replay.EndStep());
    const auto savedAlong = [](TReplayed& r) {
        std::vector<std::int32_t> saved;
        for (std::int32_t step = 0; step <= r.Replay.EndStep(); ++step) {
            r.Replay.SeekToStep(step);
            saved.push_back(r.Replay.SavedCount());
        }
        r.Replay.Reset();
        while (r.Replay.CanStepForward()) {
            r.Replay.StepForward();
            saved.push_back(r.Replay.SavedCount());
        }
        while (r.Replay.TimeStep() > 0) {
            r.Replay.StepBackward();
            saved.push_back(r.Replay.SavedCount());
        }
        return saved;
    };
    const std::vector<std::int32_t> saved = savedAlong(all);
    EXPECT_EQ(saved.front(), 0);
    EXPECT_EQ(saved[1], 4);
    EXPECT_EQ(savedAlong(few), saved);
    const TEvacuationCurve curve = AnalyseEvacuation(all.Loaded.Project).Curve;
    const TEvacuationCurve fewCurve = AnalyseEvacuation(few.Loaded.Project).Curve;
    EXPECT_EQ(fewCurve.Saved, curve.Saved);
    EXPECT_EQ(fewCurve.PersonCount, 6);

    // None described: every part of the population the analysis splits counts them once.
    const TLoadedProject none(described.substr(0, described.find("<persons>")));
    EXPECT_EQ(AnalyseEvacuation(none.Project).Curve.Saved.back(), 6);
}

// Every person's place and deck, and the saved count.
using TSnapshot = std::tuple<std::vector<std::tuple<float, float, std::int32_t>>, std::string>;

TEST(Replay, SteppingBackRetracesTheWayForward) {
    TLoadedProject small;
    ASSERT_TRUE(small.Project.Load(AMBLA_TEST_DATA_DIR "/small.3dl", small.Progress));
    TReplay replay;
    replay.SetProject(&small.Project);
    const auto snapshot = [&] {
        TSnapshot shot;
        for (const TPersonData& person : small.Project.Persons) {
            std::get<0>(shot).emplace_back(person.X(), person.Y(), person.Level);
        }
        std::get<1>(shot) = replay.SavedText();
        return shot;
    };
    // 13 seconds take two persons up a deck and then out.
    std::vector<TSnapshot> forwards{snapshot()};
    for (int second = 1; second <= 13; ++second) {
        replay.SecondForward();
        forwards.push_back(snapshot());
    }
    ASSERT_EQ(replay.SavedCount(), 2);
    for (int second = 12; second >= 0; --second) {
        replay.SecondBackward();
        ASSERT_EQ(replay.TimeStep(), second * 4);
        EXPECT_EQ(snapshot(), forwards[static_cast<std::size_t>(second)]) << "second " << second;
    }
}

// Everything a person's state holds that a frame, a later step or the saved count reads.
std::vector<std::string> StatesOf(const TLogFile& project, const TReplay& replay) {
    std::vector<std::string> states{"step " + std::to_string(replay.TimeStep()) + " saved " +
                                    std::to_string(replay.SavedCount())};
    for (const TPersonData& p : project.Persons) {
        states.push_back(std::to_string(p.X()) + " " + std::to_string(p.Y()) + " " +
                         std::to_string(p.Level) + " " + std::to_string(p.Heading) + " " +
                         std::to_string(p.LeftFromLevel));
    }
    return states;
}

// A seek anywhere, near or far, forwards or backwards, leaves every person as playing there from
// the start does, and the replay goes on from there the same way in both directions; a seek
// beyond the end lands on the end.
TEST(Replay, ASeekLeavesEveryPersonAsPlayingThereDoes) {
    std::mt19937 random(7);
    for (int project = 0; project < 60; ++project) {
        const std::string text = RandomProject(random, project % 3 + 1, 0);
        SCOPED_TRACE(text);
        TReplayed played(text);
        TReplayed sought(text);
        const std::int32_t end = played.Replay.LastSecond() * played.Loaded.Project.VMax + 3;
        std::vector<std::vector<std::string>> way;
        for (std::int32_t step = 0; step <= end; ++step) {
            way.push_back(StatesOf(played.Loaded.Project, played.Replay));
            played.Replay.StepForward();
        }
        for (int seek = 0; seek < 12; ++seek) {
            const auto asked = std::uniform_int_distribution<std::int32_t>(0, end)(random);
            sought.Replay.SeekToStep(asked);
            const std::int32_t target = std::min(asked, sought.Replay.EndStep());
            ASSERT_EQ(StatesOf(sought.Loaded.Project, sought.Replay),
                      way[static_cast<std::size_t>(target)]);
            if (target < end) {
                sought.Replay.StepForward();
                ASSERT_EQ(StatesOf(sought.Loaded.Project, sought.Replay),
                          way[static_cast<std::size_t>(target) + 1]);
                sought.Replay.StepBackward(); // the next seek starts from a step back
            }
        }
    }
}

// Runs check(replayed, vMax, random) on 40 random projects of 1 to 3 time steps a second, each
// traced; random goes on drawing for the check.
template <typename TCheck> void OnRandomReplays(unsigned seed, TCheck check) {
    std::mt19937 random(seed);
    for (int project = 0; project < 40; ++project) {
        const std::int32_t vMax = project % 3 + 1;
        const std::string text = RandomProject(random, vMax, 0);
        SCOPED_TRACE(text);
        TReplayed replayed(text);
        check(replayed, vMax, random);
    }
}

// How long each person has stood still at a step, reached forwards, backwards or by a seek, is
// what counting the standing entries one by one from the start gives.
TEST(Replay, WaitingTimesAreTheSameHoweverTheStepIsReached) {
    OnRandomReplays(11, [](TReplayed& replayed, std::int32_t vMax, std::mt19937& random) {
        std::vector<TPersonData>& persons = replayed.Loaded.Project.Persons;
        const std::int32_t end = replayed.Replay.EndStep();
        // expected[s][i]: person i's standing steps in a row at step s, one entry at a time.
        std::vector<std::vector<float>> expected(static_cast<std::size_t>(end) + 1,
                                                 std::vector<float>(persons.size(), 0.0f));
        for (std::size_t i = 0; i < persons.size(); ++i) {
            std::vector<TMove> entries;
            persons[i].Moves.ForEachRun([&](std::int32_t n, TMove move) {
                entries.insert(entries.end(), static_cast<std::size_t>(n), move);
            });
            std::int32_t inRow = 0;
            for (std::int32_t step = 1; step <= end; ++step) {
                const bool applied = static_cast<std::size_t>(step) <= entries.size();
                inRow = applied && entries[static_cast<std::size_t>(step - 1)].Direction == 0
                            ? inRow + 1
                            : 0;
                expected[static_cast<std::size_t>(step)][i] =
                    static_cast<float>(inRow) / static_cast<float>(vMax);
            }
        }
        std::vector<float> seconds;
        const auto check = [&](const char* how) {
            const std::int32_t step = replayed.Replay.TimeStep();
            MeasureWaiting(persons, step, vMax, seconds);
            ASSERT_EQ(seconds, expected[static_cast<std::size_t>(step)]) << how << " " << step;
        };
        for (std::int32_t step = 0; step < end; ++step) {
            check("forwards");
            replayed.Replay.StepForward();
        }
        for (std::int32_t step = end; step > 0; --step) {
            check("backwards");
            replayed.Replay.StepBackward();
        }
        for (int seek = 0; seek < 10; ++seek) {
            replayed.Replay.SeekToStep(std::uniform_int_distribution<std::int32_t>(0, end)(random));
            check("by a seek");
        }
    });
}

// A trail covers exactly the cells the person stood on during the last seconds, as the replay
// put it there step by step, back to where it came onto its deck; its newest end is where it
// stands and its oldest no older than asked.
TEST(Replay, TrailsCoverTheCellsStoodOnSinceTheLastDeckChange) {
    using TPlace = std::pair<long, long>;
    const auto cellOf = [](float x, float y) {
        return TPlace{std::lround(x * 2), std::lround(y * 2)};
    };
    OnRandomReplays(13, [&cellOf](TReplayed& replayed, std::int32_t vMax, std::mt19937&) {
        std::vector<TPersonData>& persons = replayed.Loaded.Project.Persons;
        const std::int32_t end = replayed.Replay.EndStep();
        // Where each person stood, and on which deck, at every step.
        std::vector<std::vector<std::tuple<float, float, std::int32_t>>> way;
        for (std::int32_t step = 0; step <= end; ++step) {
            auto& now = way.emplace_back();
            for (const TPersonData& person : persons) {
                now.emplace_back(person.X(), person.Y(), person.Level);
            }
            replayed.Replay.StepForward();
        }
        constexpr float Seconds = 2.0f;
        const auto budget = static_cast<std::int32_t>(Seconds * static_cast<float>(vMax));
        for (std::int32_t step = end; step >= 0; --step) {
            replayed.Replay.SeekToStep(step);
            for (std::size_t i = 0; i < persons.size(); ++i) {
                std::vector<TTrailPoint> stretches;
                AppendTrail(persons[i], step, vMax, Seconds, stretches);
                const auto& [x, y, level] = way[static_cast<std::size_t>(step)][i];
                std::set<TPlace> expected;
                for (std::int32_t k = step; level >= 0 && k >= std::max(0, step - budget); --k) {
                    const auto& [kx, ky, kLevel] = way[static_cast<std::size_t>(k)][i];
                    if (kLevel != level) {
                        break;
                    }
                    expected.insert(cellOf(kx, ky));
                }
                std::set<TPlace> covered;
                if (level >= 0 && !expected.empty()) {
                    covered.insert(cellOf(x, y));
                }
                for (std::size_t p = 0; p + 1 < stretches.size(); p += 2) {
                    const TTrailPoint& older = stretches[p];
                    const TTrailPoint& newer = stretches[p + 1];
                    ASSERT_LE(newer.Age, older.Age);
                    ASSERT_LE(older.Age, Seconds + 1e-4f);
                    const float dx = newer.X > older.X ? 1.0f : newer.X < older.X ? -1.0f : 0.0f;
                    const float dy = newer.Y > older.Y ? 1.0f : newer.Y < older.Y ? -1.0f : 0.0f;
                    for (TTrailPoint at = older; cellOf(at.X, at.Y) != cellOf(newer.X, newer.Y);
                         at.X += dx, at.Y += dy) {
                        covered.insert(cellOf(at.X, at.Y));
                    }
                }
                ASSERT_EQ(covered, expected) << "person " << i << " at step " << step;
            }
        }
    });
}

TEST(Replay, PlayingStartsOverOnceEverybodyHasLeft) {
    // One step per second; the longer list ends at step 5, so everybody has left at step 6.
    TReplayed r(FloorProject(8, 1, 0, TwoWalkers));
    for (int tick = 1; tick <= 5; ++tick) {
        r.Replay.Tick();
        ASSERT_EQ(r.Replay.TimeStep(), tick);
    }
    EXPECT_EQ(r.Replay.SavedCount(), 1);
    EXPECT_EQ(r.Loaded.Project.Persons[1].X(), CellCentreX(6, 8));
    r.Replay.Tick();
    EXPECT_EQ(r.Replay.TimeStep(), 0);
    EXPECT_EQ(r.Replay.SavedCount(), 0);
    EXPECT_EQ(r.Replay.TimeText(), "Time: 0:00 min");
    EXPECT_EQ(r.Loaded.Project.Persons[1].X(), CellCentreX(1, 8));
    r.Replay.Tick();
    EXPECT_EQ(r.Replay.TimeStep(), 1);

    TReplayed empty(FloorProject(2, 1, 0, {}));
    empty.Replay.SecondForward();
    empty.Replay.Tick();
    EXPECT_EQ(empty.Replay.TimeStep(), 0) << "without persons every tick starts over";
}

TEST(Replay, HooksSeeEveryStepAndResetAndWholeSecondsAreKnown) {
    TReplayed r(FloorProject(4, 4, 0, {{0, 0, "P20x0 S"}}));
    std::vector<std::string> seen;
    r.Replay.BeforeStep = [&] { seen.push_back("before " + std::to_string(r.Replay.TimeStep())); };
    r.Replay.AfterStep = [&] { seen.push_back("after " + std::to_string(r.Replay.TimeStep())); };
    r.Replay.AfterJump = [&] { seen.push_back("reset"); };
    r.Replay.StepForward();
    EXPECT_FALSE(r.Replay.AtWholeSecond());
    r.Replay.StepBackward();
    EXPECT_TRUE(r.Replay.AtWholeSecond());
    r.Replay.Reset();
    EXPECT_EQ(seen,
              (std::vector<std::string>{"before 0", "after 1", "before 1", "after 0", "reset"}));
}

TEST(ReplayTexts, TimeIsStepsOverSpeedPlusOffsetTruncated) {
    const struct {
        std::int32_t Step, VMax, TOff, Seconds;
    } cases[] = {
        {0, 4, 0, 0},
        {4, 4, 0, 1},
        {7, 4, 0, 1},
        {0, 4, 30, 30},
        {4, 4, 30, 31},
        {3, 4, -1, 0},
        {5, 4, -1, 0},
        {0, 4, -75, -75},
        {9, 4, -10, -7},
        {8, 0, 12, 12},
        {8, -2, 12, 12},
        {std::numeric_limits<std::int32_t>::max(), 1, 10, std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplayTimeSeconds(c.Step, c.VMax, c.TOff), c.Seconds)
            << "step " << c.Step << ", vmax " << c.VMax << ", toff " << c.TOff;
    }
}

TEST(ReplayTexts, TimeTextHasMinutesAndTwoDigitSeconds) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "Time: 0:00 min"},
        {9, "Time: 0:09 min"},
        {75, "Time: 1:15 min"},
        {3605, "Time: 60:05 min"},
        {-75, "Time: -1:15 min"},
        {-5, "Time: -0:05 min"},
        {std::numeric_limits<std::int32_t>::min(), "Time: -35791394:08 min"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(TimeText(seconds), text);
    }
}

TEST(ReplayTexts, SavedCountGroupsThousandsWithAPoint) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "Saved: 0"},
        {999, "Saved: 999"},
        {1000, "Saved: 1.000"},
        {1005, "Saved: 1.005"},
        {1050, "Saved: 1.050"},
        {12345, "Saved: 12.345"},
        {1000000, "Saved: 1000.000"},
    };
    for (const auto& [count, text] : cases) {
        EXPECT_EQ(SavedText(count), text);
    }
}
