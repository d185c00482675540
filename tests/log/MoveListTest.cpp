// Move lists held as runs against the same lists spelt out entry by entry.

#include "MoveList.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

// A list as the reader gives it: mostly single moves and short runs, some U and D, some faulty
// directions, and runs whose lengths sit at the edges of the length bytes.
struct TRandomList {
    explicit TRandomList(unsigned seed) {
        std::mt19937 random(seed);
        const std::int32_t edges[] = {2, 127, 128, 129, 16383, 16384, 16385};
        const int appends = std::uniform_int_distribution(0, 120)(random);
        for (int i = 0; i < appends; ++i) {
            const int kind = std::uniform_int_distribution(0, 9)(random);
            std::int32_t n = 1;
            if (kind == 0) {
                n = edges[std::uniform_int_distribution<std::size_t>(0,
                                                                     std::size(edges) - 1)(random)];
            } else if (kind < 4) {
                n = std::uniform_int_distribution(2, 30)(random);
            }
            TMove move{std::uniform_int_distribution(0, 3)(random), 0};
            if (kind == 4) {
                move.LevelChange = std::uniform_int_distribution(0, 1)(random) != 0 ? 1 : -1;
            } else if (kind == 5) {
                move.Direction = std::uniform_int_distribution(4, 12)(random) - 2; // 2 .. 10
            }
            List.Append(n, move);
            const TMove held{move.Direction <= 8 ? move.Direction : 9, move.LevelChange};
            Expanded.insert(Expanded.end(), static_cast<std::size_t>(n), held);
        }
    }
    TMoveList List;
    std::vector<TMove> Expanded;
};

} // namespace

TEST(MoveList, GivesEveryEntryOfTheExpandedListForwardsBackwardsAndInAnyOrder) {
    for (unsigned seed = 0; seed < 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TRandomList r(seed);
        const auto count = static_cast<std::int32_t>(r.Expanded.size());
        ASSERT_EQ(r.List.Count(), count);
        for (std::int32_t k = 0; k < count; ++k) {
            ASSERT_TRUE(r.List.At(k) == r.Expanded[static_cast<std::size_t>(k)]) << "k " << k;
        }
        for (std::int32_t k = count - 1; k >= 0; --k) {
            ASSERT_TRUE(r.List.At(k) == r.Expanded[static_cast<std::size_t>(k)]) << "k " << k;
        }
        std::mt19937 random(seed);
        for (int i = 0; count > 0 && i < 2000; ++i) {
            const std::int32_t k = std::uniform_int_distribution(0, count - 1)(random);
            ASSERT_TRUE(r.List.At(k) == r.Expanded[static_cast<std::size_t>(k)]) << "k " << k;
        }
        std::vector<TMove> runs;
        r.List.ForEachRun([&runs](std::int32_t n, TMove move) {
            runs.insert(runs.end(), static_cast<std::size_t>(n), move);
        });
        EXPECT_TRUE(runs == r.Expanded);
    }
}

TEST(MoveList, TakesMemoryByRunsNotByTimeSteps) {
    TMoveList queue;
    queue.Append(1000000, {0, 0});
    queue.Append(1000000, {0, 0}); // merged into the run before
    queue.Append(1, {3, 1});
    EXPECT_EQ(queue.Count(), 2000001);
    EXPECT_EQ(queue.ByteSize(), 4u + 1u);
    EXPECT_TRUE(queue.At(1999999) == (TMove{0, 0}));
    EXPECT_TRUE(queue.At(2000000) == (TMove{3, 1}));

    TMoveList walk; // no two equal moves in a row: one byte each
    for (int k = 0; k < 1000; ++k) {
        walk.Append(1, {1 + k % 2, 0});
    }
    EXPECT_EQ(walk.ByteSize(), 1000u);
}

TEST(MoveList, StopsAtTheLongestListItCanCount) {
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    TMoveList list;
    list.Append(Max - 3, {0, 0});
    list.Append(2, {5, -1});
    list.Append(10, {7, 0}); // only one entry still fits
    list.Append(1, {8, 0});
    ASSERT_EQ(list.Count(), Max);
    EXPECT_TRUE(list.At(Max - 1) == (TMove{7, 0}));
    EXPECT_TRUE(list.At(Max - 2) == (TMove{5, -1}));
    EXPECT_TRUE(list.At(Max - 4) == (TMove{0, 0}));
    EXPECT_TRUE(list.At(0) == (TMove{0, 0}));
    EXPECT_EQ(list.ByteSize(), 6u + 2u + 1u);
}
