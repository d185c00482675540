// Moving persons through time steps, forwards and backwards, as the replay drives them.

#include "LogTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// Where everybody stands, and how many count as saved.
std::string Frame(const std::vector<TPersonData>& persons, int saved) {
    std::ostringstream out;
    out << "saved " << saved << ":";
    for (const TPersonData& p : persons) {
        out << " (" << p.X() << ", " << p.Y() << ", L" << p.Level << ")";
    }
    return out.str();
}

} // namespace

TEST(PersonStep, InitPutsThePersonOnTheCellCentre) {
    TPersonData a, b;
    a.Init(0, 0, 2, 5, 9, 10, 6);
    b.Init(4, 2, 0, 1, 0, 9, 5);
    EXPECT_EQ(Frame({a, b}, 0), "saved 0: (-4.5, 2.5, L2) (0.5, -0.5, L0)");
    EXPECT_EQ(a.Heading, 5);
}

TEST(PersonStep, EachDirectionMovesOneCellAndBackWithoutTurningBack) {
    const float dx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
    const float dy[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    for (int d = 0; d <= 8; ++d) {
        SCOPED_TRACE("direction " + std::to_string(d));
        TPersonData p;
        p.Init(5, 5, 0, 7, 0, 10, 10);
        p.AppendMoves(1, d, 0);
        EXPECT_TRUE(p.IsStepMoved(0));
        EXPECT_EQ(p.X(), 0.5f + dx[d]);
        EXPECT_EQ(p.Y(), -0.5f + dy[d]);
        EXPECT_EQ(p.Heading, d == 0 ? 7 : d); // standing keeps the heading
        EXPECT_TRUE(p.IsStepMovedBack(0));
        EXPECT_EQ(p.X(), 0.5f);
        EXPECT_EQ(p.Y(), -0.5f);
        EXPECT_EQ(p.Heading, d == 0 ? 7 : d);
    }
}

TEST(PersonStep, WalkLeaveAndReset) {
    TPersonData p;
    p.Init(0, 1, 0, 5, 0, 10, 10);
    p.AppendMoves(2, 3, 0);
    p.AppendMoves(1, 1, 0);
    p.AppendMoves(1, 0, 1); // a change of deck in place
    p.AppendMoves(-4, 5, 0);
    ASSERT_EQ(p.MoveCount, 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(p.IsStepMoved(k));
    }
    EXPECT_EQ(Frame({p}, 0), "saved 0: (-2.5, 4.5, L1)");
    EXPECT_EQ(p.Heading, 1);
    EXPECT_FALSE(p.IsStepMoved(4));
    EXPECT_FALSE(p.IsStepMoved(9));
    EXPECT_EQ(p.Level, -1);
    p.Reset(10, 10);
    EXPECT_EQ(Frame({p}, 0), "saved 0: (-4.5, 3.5, L0)");
    EXPECT_EQ(p.Heading, 5);
}

// Stepping back to a time step must give the place, deck and saved count stepping forward gave
// there, also around the step at which a person leaves.
TEST(PersonStep, SteppingBackRetracesSteppingForward) {
    TLoadedProject loaded(Header(5, 10, 10, 3) + "<persons>\n<startpositions>\n" +
                          "1 1 1 3 0\n5 5 0 1 0\n2 2 0 1 0\n8 8 2 7 0\n0 0 1 1 0\n(movement)\n" +
                          "3 U2 D0 P2x7 1 D3 S\nS\nD5 S\nP3x0 U1 6 U0 4 S\n5 5 D0 S\n</persons>\n");
    ASSERT_THAT(loaded.Boxes(), ::testing::IsEmpty());
    std::vector<TPersonData>& persons = loaded.Project.Persons;
    const int last = 10;
    std::vector<std::string> forward = {Frame(persons, 0)};
    for (int s = 1; s <= last; ++s) {
        forward.push_back(Frame(persons, StepAllForward(persons, s - 1)));
    }
    EXPECT_THAT(forward[1], ::testing::StartsWith("saved 1:")); // the list that is just "S"
    EXPECT_THAT(forward.back(), ::testing::StartsWith("saved 5:"));
    for (int s = last; s > 0; --s) {
        EXPECT_EQ(Frame(persons, StepAllBackward(persons, s - 1)),
                  forward[static_cast<std::size_t>(s - 1)])
            << "back to step " << s - 1;
    }
}

TEST(PersonStep, BadDirectionIsReportedOncePerProject) {
    const std::string file = Header(2, 4, 4, 3) + "<persons>\n<startpositions>\n" +
                             "1 1 1 3 0\n2 2 1 3 0\n(movement)\n9 S\nU9 S\n</persons>\n";
    for (int project = 1; project <= 2; ++project) {
        TLoadedProject loaded(file);
        std::vector<TPersonData>& persons = loaded.Project.Persons;
        const std::string start = Frame(persons, 0);
        EXPECT_EQ(StepAllForward(persons, 0), 0);
        EXPECT_EQ(Frame(persons, 0), "saved 0: (-0.5, 0.5, L1) (0.5, -0.5, L2)");
        EXPECT_EQ(persons[1].Heading, 3);
        EXPECT_EQ(StepAllBackward(persons, 0), 0);
        EXPECT_EQ(Frame(persons, 0), start);
        EXPECT_EQ(loaded.Boxes(),
                  std::vector<std::string>{"Error [!] Error in TPersonData::IsStepMoved()"});
    }
}
