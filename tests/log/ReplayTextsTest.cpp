// The replay's status texts: the time shown for a step and the saved count.

#include "ReplayTexts.h"

#include <gtest/gtest.h>

#include <limits>

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
