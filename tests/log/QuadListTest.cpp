// Merging a deck's cells into flat quads and obstacle boxes.

#include "Deck.h"
#include "ModelReports.h"
#include "ModelViews.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using ::testing::ElementsAre;

namespace {

// Rows written with the file's cell characters ('.' is void); the quads of the merged deck as
// text: colour | vertices 0 to 3 | normal.
std::vector<std::string> Quads(const std::vector<std::string>& rows) {
    TDeck deck;
    const std::uint8_t kinds[] = {CellFree, CellObstacle, CellBlue, CellGrey, CellGreen, CellRed};
    for (const std::string& row : rows) {
        for (const char c : row) {
            const bool coded = c >= '0' && c <= '5';
            deck.Cells.push_back({false, coded ? kinds[c - '0'] : std::uint8_t{CellVoid}});
        }
    }
    TNoProgressWindow progress;
    deck.BuildQuadList(static_cast<std::int32_t>(rows[0].size()),
                       static_cast<std::int32_t>(rows.size()), progress, NoModelReports());
    std::vector<std::string> quads;
    for (const TQuad& q : deck.Quads) {
        std::ostringstream out;
        out << q.Color[0] << ' ' << q.Color[1] << ' ' << q.Color[2] << " |";
        for (const auto& v : q.Vertex) {
            out << ' ' << v[0] << ',' << v[1] << ',' << v[2];
        }
        out << " | " << q.Normal[0] << ',' << q.Normal[1] << ',' << q.Normal[2];
        quads.push_back(out.str());
    }
    EXPECT_EQ(deck.QuadCount, static_cast<int>(quads.size()));
    return quads;
}

// A flat quad over X0..X1 and Yt..Yb in the given colour.
std::string Flat(const std::string& colour, int x0, int x1, int yt, int yb) {
    std::ostringstream out;
    out << colour << " | " << x0 << ',' << yt << ",0 " << x0 << ',' << yb << ",0 " << x1 << ','
        << yb << ",0 " << x1 << ',' << yt << ",0 | 0,0,1";
    return out.str();
}

} // namespace

TEST(QuadList, FreeDeckIsOneQuadAroundTheCentre) {
    EXPECT_THAT(Quads({"000", "000"}), ElementsAre("1 1 1 | -1,1,0 -1,-1,0 2,-1,0 2,1,0 | 0,0,1"));
}

TEST(QuadList, QuadsSpanAtMostTenCellsEachWay) {
    EXPECT_THAT(Quads({std::string(25, '0')}),
                ElementsAre(Flat("1 1 1", -12, -2, 0, -1), Flat("1 1 1", -2, 8, 0, -1),
                            Flat("1 1 1", 8, 13, 0, -1)));
    EXPECT_THAT(Quads(std::vector<std::string>(12, std::string(12, '0'))),
                ElementsAre(Flat("1 1 1", -6, 4, 6, -4), Flat("1 1 1", 4, 6, 6, -4),
                            Flat("1 1 1", -6, 4, -4, -6), Flat("1 1 1", 4, 6, -4, -6)));
}

TEST(QuadList, MergeComparesKindsOnlySoQuadsMayOverlap) {
    const std::vector<std::string> quads = Quads({"010", "000"});
    ASSERT_EQ(quads.size(), 9u);
    EXPECT_EQ(quads[0], Flat("1 1 1", -1, 0, 1, -1));
    EXPECT_EQ(quads[1], "0.2 0.2 0.2 | 0,1,0 1,1,0 1,0,0 0,0,0 | 0,0,-1"); // box over (1, 0)
    EXPECT_EQ(quads[7], Flat("1 1 1", 1, 2, 1, -1));
    EXPECT_EQ(quads[8], Flat("1 1 1", 0, 2, 0, -1)); // covers (2, 1) a second time
}

TEST(QuadList, ObstacleIsABoxOfSixFacesWoundCounterClockwiseFromOutside) {
    EXPECT_THAT(Quads({"1...", "....", "....", "...."}),
                ElementsAre("0.2 0.2 0.2 | -2,2,0 -1,2,0 -1,1,0 -2,1,0 | 0,0,-1",
                            "0.8 0.8 0.8 | -2,2,3 -2,2,0 -2,1,0 -2,1,3 | -1,0,0",
                            "0.8 0.8 0.8 | -1,2,3 -1,1,3 -1,1,0 -1,2,0 | 1,0,0",
                            "0.75 0.75 0.75 | -2,2,3 -1,2,3 -1,2,0 -2,2,0 | 0,1,0",
                            "0.75 0.75 0.75 | -2,1,3 -2,1,0 -1,1,0 -1,1,3 | 0,-1,0",
                            "0.2 0.2 0.2 | -2,2,3 -2,1,3 -1,1,3 -1,2,3 | 0,0,1"));
}

TEST(QuadList, EveryFloorKindHasItsColourAndVoidHasNone) {
    EXPECT_THAT(Quads({"02345.6"}),
                ElementsAre(Flat("1 1 1", -3, -2, 0, -1), Flat("0.78 0.78 1", -2, -1, 0, -1),
                            Flat("0.66 0.66 0.66", -1, 0, 0, -1), Flat("0.63 1 0.63", 0, 1, 0, -1),
                            Flat("1 0.63 0.63", 1, 2, 0, -1)));
    EXPECT_THAT(Quads({"...", "..."}), ::testing::IsEmpty());
}
