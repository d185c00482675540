// The outlines of congested regions as lines: along the edges between a region and the rest.

#include "RegionOutlines.h"

#include <gtest/gtest.h>

namespace {

// An L of three cells on deck 1 of a 4 x 4 grid: cells (1, 1), (2, 1) and (1, 2). Its outline has
// eight edges; the edges between its own cells are not drawn.
TEST(RegionOutlines, FollowTheEdgesBetweenARegionAndTheRest) {
    TCongestionReport report;
    TCongestionRegion region;
    region.Deck = 1;
    region.Significant = true;
    region.Cells = {1 * 4 + 1, 1 * 4 + 2, 2 * 4 + 1};
    report.Regions = {region};
    const TRegionOutlines outlines = OutlinesOf(report, 4, 4, 2);
    ASSERT_EQ(outlines.Lines.size(), 2U);
    EXPECT_TRUE(outlines.Lines[0].empty());
    const std::vector<float>& lines = outlines.Lines[1];
    ASSERT_EQ(lines.size(), 8U * 4);
    EXPECT_EQ(outlines.Kinds[1], std::vector(8, TOutlineKind::Significant));
    // Cell (1, 1) spans x -1 .. 0 and y 0 .. 1 (column 2 and row 2 are the centre): its top edge
    // is drawn, its right edge (toward (2, 1)) is not.
    const auto has = [&](float x0, float y0, float x1, float y1) {
        for (std::size_t i = 0; i < lines.size(); i += 4) {
            if (lines[i] == x0 && lines[i + 1] == y0 && lines[i + 2] == x1 && lines[i + 3] == y1) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(has(-1, 1, 0, 1));
    EXPECT_FALSE(has(0, 0, 0, 1));
    EXPECT_TRUE(has(1, 0, 1, 1)) << "the right edge of (2, 1)";
    EXPECT_FALSE(has(-1, 0, 0, 0)) << "between (1, 1) and (1, 2)";
}

} // namespace
