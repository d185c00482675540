// Merging a deck's cells into flat quads and obstacle boxes.

#include "Tdeck.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// A deck from rows written with the file's cell characters ('.' is void).
TDeck BuiltDeck(const std::vector<std::string>& rows) {
    TDeck deck;
    for (const std::string& row : rows) {
        for (const char c : row) {
            constexpr std::array<std::uint8_t, 6> kinds = {CellFree,  CellObstacle, CellBlue,
                                                           CellGrey,  CellGreen,    CellRed};
            const bool coded = c >= '0' && c <= '5';
            deck.Cells.push_back(
                {false, coded ? kinds[static_cast<std::size_t>(c - '0')] : std::uint8_t{CellVoid}});
        }
    }
    TNoProgressWindow progress;
    deck.BuildQuadList(static_cast<std::int32_t>(rows[0].size()),
                       static_cast<std::int32_t>(rows.size()), progress);
    return deck;
}

struct TEdges {
    float X0, X1, Yt, Yb;
    bool operator==(const TEdges&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TEdges& e) {
    return out << "X " << e.X0 << ".." << e.X1 << " Y " << e.Yt << ".." << e.Yb;
}

// The rectangle a flat quad covers, checked against the vertex order a flat quad must have.
TEdges FlatEdges(const TQuad& q) {
    const TEdges e{q.Vertex[0][0], q.Vertex[2][0], q.Vertex[0][1], q.Vertex[1][1]};
    const float expected[4][3] = {
        {e.X0, e.Yt, 0}, {e.X0, e.Yb, 0}, {e.X1, e.Yb, 0}, {e.X1, e.Yt, 0}};
    for (int v = 0; v < 4; ++v) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(q.Vertex[v][c], expected[v][c]) << "vertex " << v;
        }
    }
    EXPECT_EQ((std::array{q.Normal[0], q.Normal[1], q.Normal[2]}), (std::array{0.0f, 0.0f, 1.0f}));
    return e;
}

std::array<float, 3> Colour(const TQuad& q) {
    return {q.Color[0], q.Color[1], q.Color[2]};
}

} // namespace

TEST(QuadList, FreeDeckIsOneQuadAroundTheCentre) {
    const TDeck deck = BuiltDeck({"000", "000"});
    ASSERT_EQ(deck.QuadCount, 1);
    ASSERT_EQ(deck.Quads.size(), 1u);
    EXPECT_EQ(FlatEdges(deck.Quads[0]), (TEdges{-1, 2, 1, -1}));
    EXPECT_EQ(Colour(deck.Quads[0]), (std::array{1.0f, 1.0f, 1.0f}));
}

TEST(QuadList, QuadsSpanAtMostTenCellsEachWay) {
    const TDeck row = BuiltDeck({std::string(25, '0')});
    ASSERT_EQ(row.QuadCount, 3);
    EXPECT_EQ(FlatEdges(row.Quads[0]), (TEdges{-12, -2, 0, -1}));
    EXPECT_EQ(FlatEdges(row.Quads[1]), (TEdges{-2, 8, 0, -1}));
    EXPECT_EQ(FlatEdges(row.Quads[2]), (TEdges{8, 13, 0, -1}));

    const TDeck square = BuiltDeck(std::vector<std::string>(12, std::string(12, '0')));
    ASSERT_EQ(square.QuadCount, 4);
    EXPECT_EQ(FlatEdges(square.Quads[0]), (TEdges{-6, 4, 6, -4}));
    EXPECT_EQ(FlatEdges(square.Quads[1]), (TEdges{4, 6, 6, -4}));
    EXPECT_EQ(FlatEdges(square.Quads[2]), (TEdges{-6, 4, -4, -6}));
    EXPECT_EQ(FlatEdges(square.Quads[3]), (TEdges{4, 6, -4, -6}));
}

TEST(QuadList, MergeComparesKindsOnlySoQuadsMayOverlap) {
    const TDeck deck = BuiltDeck({"010", "000"});
    ASSERT_EQ(deck.QuadCount, 9);
    EXPECT_EQ(FlatEdges(deck.Quads[0]), (TEdges{-1, 0, 1, -1}));
    EXPECT_FLOAT_EQ(deck.Quads[1].Vertex[0][0], 0.0f); // the box over cell (1, 0)
    EXPECT_FLOAT_EQ(deck.Quads[1].Vertex[1][0], 1.0f);
    EXPECT_EQ(FlatEdges(deck.Quads[7]), (TEdges{1, 2, 1, -1}));
    EXPECT_EQ(FlatEdges(deck.Quads[8]), (TEdges{0, 2, 0, -1}));
}

TEST(QuadList, ObstacleIsABoxOfSixFaces) {
    const TDeck deck = BuiltDeck({"1...", "....", "....", "...."});
    ASSERT_EQ(deck.QuadCount, 6);
    // X from -2 to -1, Y from 2 to 1, z from 0 to 3; every face counter-clockwise from outside.
    const float l = -2, r = -1, t = 2, b = 1, h = 3;
    const struct {
        float Grey;
        float Vertex[4][3];
        float Normal[3];
    } faces[6] = {
        {0.2f, {{l, t, 0}, {r, t, 0}, {r, b, 0}, {l, b, 0}}, {0, 0, -1}},
        {0.8f, {{l, t, h}, {l, t, 0}, {l, b, 0}, {l, b, h}}, {-1, 0, 0}},
        {0.8f, {{r, t, h}, {r, b, h}, {r, b, 0}, {r, t, 0}}, {1, 0, 0}},
        {0.75f, {{l, t, h}, {r, t, h}, {r, t, 0}, {l, t, 0}}, {0, 1, 0}},
        {0.75f, {{l, b, h}, {l, b, 0}, {r, b, 0}, {r, b, h}}, {0, -1, 0}},
        {0.2f, {{l, t, h}, {l, b, h}, {r, b, h}, {r, t, h}}, {0, 0, 1}},
    };
    for (std::size_t f = 0; f < 6; ++f) {
        SCOPED_TRACE("face " + std::to_string(f));
        const TQuad& q = deck.Quads[f];
        EXPECT_EQ(Colour(q), (std::array{faces[f].Grey, faces[f].Grey, faces[f].Grey}));
        for (int v = 0; v < 4; ++v) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_FLOAT_EQ(q.Vertex[v][c], faces[f].Vertex[v][c]) << "vertex " << v;
            }
        }
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(q.Normal[c], faces[f].Normal[c]);
        }
    }
}

TEST(QuadList, EveryFloorKindHasItsColour) {
    const TDeck deck = BuiltDeck({"02345.6"});
    ASSERT_EQ(deck.QuadCount, 5);
    const std::array<std::array<float, 3>, 5> colours = {{{1.0f, 1.0f, 1.0f},
                                                          {0.78f, 0.78f, 1.0f},
                                                          {0.66f, 0.66f, 0.66f},
                                                          {0.63f, 1.0f, 0.63f},
                                                          {1.0f, 0.63f, 0.63f}}};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        EXPECT_EQ(Colour(deck.Quads[i]), colours[i]) << "quad " << i;
        EXPECT_EQ(FlatEdges(deck.Quads[i]).X0, static_cast<float>(i) - 3.0f);
    }
}

TEST(QuadList, VoidDeckHasNoQuads) {
    EXPECT_EQ(BuiltDeck({"...", "..."}).QuadCount, 0);
}
