// A person's way and what it did, read from its runs, against the replay moving it step by step.

#include "PersonWay.h"
#include "EvacuationAnalysis.h"
#include "LogTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <random>

namespace {

constexpr std::int32_t XMax = 7;
constexpr std::int32_t YMax = 10;

// Lists of runs: walks in every direction (the diagonals among them), long stands, changes of
// deck up and down with and without a direction, and directions the file cannot mean, which
// stand but still change deck.
TPersonData RandomPerson(std::mt19937& random) {
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    TPersonData person;
    person.Init(pick(0, XMax - 1), pick(0, YMax - 1), pick(0, 2), 1, 0, XMax, YMax);
    for (int runs = pick(0, 12); runs > 0; --runs) {
        switch (pick(0, 4)) {
        case 0:
            person.AppendMoves(pick(1, 6), pick(1, 8), 0);
            break;
        case 1:
            person.AppendMoves(pick(1, 60), 0, 0);
            break;
        case 2:
            person.AppendMoves(pick(1, 3), pick(0, 8), pick(0, 1) == 0 ? 1 : -1);
            break;
        case 3:
            person.AppendMoves(pick(1, 3), pick(0, 1) == 0 ? 9 : -4, pick(-1, 1));
            break;
        default:
            person.AppendMoves(1, pick(0, 8), 0);
        }
    }
    return person;
}

// Where IsStepMoved puts the person at every step 0 .. Count(), Step set to the step.
std::vector<TWayPoint> ReplayedPlaces(TPersonData person) {
    person.Reset(XMax, YMax);
    std::vector<TWayPoint> places{{0, person.CellX, person.CellY, person.Level}};
    for (std::int32_t k = 0; k < person.MoveCount; ++k) {
        EXPECT_TRUE(person.IsStepMoved(k));
        places.push_back({k + 1, person.CellX, person.CellY, person.Level});
    }
    return places;
}

bool Walks(const TMove& move) {
    return move.Direction >= 1 && move.Direction <= 8;
}

// Two points of one deck are joined by a straight line walked at one cell a step, or stood on.
void ExpectStraightAtOnePace(const TWayPoint& from, const TWayPoint& to,
                             const std::vector<TWayPoint>& places) {
    const std::int64_t steps = to.Step - from.Step;
    const std::int64_t dx = to.CellX - from.CellX;
    const std::int64_t dy = to.CellY - from.CellY;
    EXPECT_TRUE(dx == 0 || std::llabs(dx) == steps) << "from step " << from.Step;
    EXPECT_TRUE(dy == 0 || std::llabs(dy) == steps) << "from step " << from.Step;
    for (std::int32_t s = from.Step; s <= to.Step; ++s) {
        const TWayPoint& at = places[static_cast<std::size_t>(s)];
        EXPECT_EQ(at.Level, from.Level) << "step " << s;
        EXPECT_EQ((at.CellX - from.CellX) * steps, dx * (s - from.Step)) << "step " << s;
        EXPECT_EQ((at.CellY - from.CellY) * steps, dy * (s - from.Step)) << "step " << s;
    }
}

} // namespace

// Every point is where the replay has the person at its step; between two points it walks one
// straight line or changes deck in one entry; and there is a point only where a run ends or the
// deck changes, so that a long stand costs one point.
TEST(PersonWay, FollowsTheReplayStepByStep) {
    std::mt19937 random(20250611);
    for (int trial = 0; trial < 400; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        TPersonData person = RandomPerson(random);
        const std::vector<TWayPoint> places = ReplayedPlaces(person);
        const std::vector<TWayPoint> way = WayOf(person, XMax, YMax);

        ASSERT_FALSE(way.empty());
        EXPECT_EQ(way.front(), places.front());
        EXPECT_EQ(way.back(), places.back());
        for (const TWayPoint& point : way) {
            ASSERT_LE(point.Step, person.MoveCount);
            EXPECT_EQ(point, places[static_cast<std::size_t>(point.Step)]);
        }
        for (std::size_t i = 1; i < way.size(); ++i) {
            ASSERT_LT(way[i - 1].Step, way[i].Step);
            if (way[i - 1].Level != way[i].Level) {
                EXPECT_EQ(way[i].Step, way[i - 1].Step + 1);
            } else {
                ExpectStraightAtOnePace(way[i - 1], way[i], places);
            }
        }
        const std::vector<TMove> moves = person.ExpandedMoves();
        std::size_t points = 1;
        for (std::size_t k = 0; k < moves.size(); ++k) {
            const bool runEnds = k + 1 == moves.size() || moves[k + 1] != moves[k];
            points += runEnds || moves[k].LevelChange != 0 ? 1U : 0U;
        }
        EXPECT_EQ(way.size(), points);
    }
}

// The entries counted one by one, at every step and beyond the list; the step of leaving is the
// one at which the replay, stepped or jumped, first counts the person as saved.
TEST(PersonWay, FactsCountTheEntriesTheReplayApplies) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::vector<TPersonData> persons{RandomPerson(random)};
        TPersonData& person = persons.front();
        const std::vector<TMove> moves = person.ExpandedMoves();
        std::int32_t stoodInAll = 0;
        for (const TMove& move : moves) {
            stoodInAll += move.Direction == 0 ? 1 : 0;
        }
        for (std::int32_t step = -1; step <= person.MoveCount + 2; ++step) {
            const TPersonFacts facts = FactsOf(persons, 0, step);
            std::int32_t walked = 0;
            std::int32_t stood = 0;
            for (std::int32_t k = 0; k < std::min(step, person.MoveCount); ++k) {
                walked += Walks(moves[static_cast<std::size_t>(k)]) ? 1 : 0;
                stood += moves[static_cast<std::size_t>(k)].Direction == 0 ? 1 : 0;
            }
            EXPECT_EQ(facts.StepsWalked, walked) << "step " << step;
            EXPECT_EQ(facts.StepsStood, stood) << "step " << step;
            EXPECT_EQ(facts.StepsStoodInAll, stoodInAll) << "step " << step;
            EXPECT_EQ(facts.LeftBefore, 0);
        }
        const std::int32_t leaves = FactsOf(persons, 0, 0).LeaveStep;
        person.Reset(XMax, YMax);
        for (std::int32_t step = 1; step < leaves; ++step) {
            ASSERT_TRUE(person.IsStepMoved(step - 1)) << "step " << step;
        }
        EXPECT_FALSE(person.IsStepMoved(leaves - 1));
        EXPECT_TRUE(person.IsJumpedTo(leaves - 1, XMax, YMax));
        EXPECT_FALSE(person.IsJumpedTo(leaves, XMax, YMax));
    }
}

// Persons that leave at once, at the same step as others, or later, in projects read from files:
// the step of leaving is where the evacuation curve counts the person, and those that left before
// are those the replay counts as saved a step earlier.
TEST(PersonWay, LeavingAgreesWithTheCurveAndTheSavedCount) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 30; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        TLoadedProject loaded(RandomProject(random, 1, 0));
        TLogFile& project = loaded.Project;
        std::vector<TPersonData>& persons = project.Persons;
        std::vector<std::int32_t> leaves;
        for (std::size_t i = 0; i < persons.size(); ++i) {
            const TPersonFacts facts = FactsOf(persons, i, 0);
            leaves.push_back(facts.LeaveStep);
            EXPECT_EQ(JumpAllTo(persons, facts.LeaveStep - 1, project.XMax, project.YMax),
                      facts.LeftBefore)
                << "person " << i;
        }
        const TEvacuationCurve curve = AnalyseEvacuation(project).Curve;
        for (std::int32_t second = 0; second < curve.RowCount(); ++second) {
            EXPECT_EQ(curve.Saved[static_cast<std::size_t>(second)],
                      std::count_if(leaves.begin(), leaves.end(),
                                    [&](std::int32_t step) { return step <= second; }))
                << "second " << second;
        }
    }
}

// A stand as long as a list can be is one stretch of the way, counted without a visit per step;
// it has no step after it to leave at.
TEST(PersonWay, ALongStandIsOneStretch) {
    constexpr std::int32_t Longest = std::numeric_limits<std::int32_t>::max();
    std::vector<TPersonData> persons(1);
    TPersonData& person = persons.front();
    person.Init(3, 4, 0, 1, 0, XMax, YMax);
    person.AppendMoves(2, 4, 0);
    person.AppendMoves(Longest - 3, 0, 0);
    person.AppendMoves(1, 0, -1);
    ASSERT_EQ(person.MoveCount, Longest);

    const std::vector<TWayPoint> way{
        {0, 0, 1, 0}, {2, 2, -1, 0}, {Longest - 1, 2, -1, 0}, {Longest, 2, -1, -1}};
    EXPECT_EQ(WayOf(person, XMax, YMax), way);
    const TPersonFacts facts = FactsOf(persons, 0, 1000);
    EXPECT_EQ(facts.StepsWalked, 2);
    EXPECT_EQ(facts.StepsStood, 998);
    EXPECT_EQ(facts.StepsStoodInAll, Longest - 2);
    EXPECT_EQ(facts.LeaveStep, Longest);
    EXPECT_TRUE(person.IsJumpedTo(Longest, XMax, YMax));

    // A long run of deck changes, one short token in a file, gives a point to the first 256 of
    // them and one to the rest, ending where the replay ends.
    TPersonData climber;
    climber.Init(3, 4, 0, 1, 0, XMax, YMax);
    climber.AppendMoves(Longest - 1, 1, +1);
    const std::vector<TWayPoint> climb = WayOf(climber, XMax, YMax);
    ASSERT_EQ(climb.size(), 258U);
    EXPECT_EQ(climb[256], (TWayPoint{256, 0, 257, 256}));
    ASSERT_TRUE(climber.IsJumpedTo(Longest - 1, XMax, YMax));
    EXPECT_EQ(climb.back(), (TWayPoint{Longest - 1, climber.CellX, climber.CellY, climber.Level}));
}
