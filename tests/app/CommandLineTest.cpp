// What the command line asks for, and what it must refuse.

#include "CommandLine.h"

#include <gtest/gtest.h>

using TArgs = std::vector<std::string>;
using TMode = TCommandLine::TMode;

TEST(CommandLine, ChoosesTheMode) {
    const struct {
        TArgs Args;
        TMode Mode;
        std::string File;
        std::int32_t Steps;
    } cases[] = {
        {{}, TMode::Gui, "", 0},
        {{"ship.3dl"}, TMode::Gui, "ship.3dl", 0},
        {{"ship.3dl", "--ignored", "more"}, TMode::Gui, "ship.3dl", 0},
        {{"-"}, TMode::Gui, "-", 0},
        {{"--stats", "ship.3dl"}, TMode::Stats, "ship.3dl", 0},
        {{"--curve", "ship.3dl"}, TMode::Curve, "ship.3dl", 0},
        {{"--dump", "ship.3dl"}, TMode::Dump, "ship.3dl", 0},
        {{"--dump", "ship.3dl", "--steps", "0"}, TMode::Dump, "ship.3dl", 0},
        {{"--dump", "a b.3dl", "--steps", "2147483647"}, TMode::Dump, "a b.3dl", 2147483647},
        {{"--help"}, TMode::Help, "", 0},
        {{"-h"}, TMode::Help, "", 0},
        {{"--version"}, TMode::Version, "", 0},
    };
    for (const auto& c : cases) {
        const auto line = ParseCommandLine(c.Args);
        ASSERT_TRUE(line.has_value()) << ::testing::PrintToString(c.Args);
        EXPECT_EQ(line->Mode, c.Mode);
        EXPECT_EQ(line->FileName, c.File);
        EXPECT_EQ(line->Steps, c.Steps);
    }
}

TEST(CommandLine, RefusesEverythingElse) {
    const TArgs cases[] = {
        {"--help", "a.3dl"},
        {"--version", "-h"},
        {"--stats"},
        {"--stats", "a.3dl", "b.3dl"},
        {"--dump"},
        {"--dump", "a.3dl", "--steps"},
        {"--dump", "a.3dl", "--step", "3"},
        {"--dump", "a.3dl", "3"},
        {"--dump", "a.3dl", "--steps", "3", "extra"},
        {"--dump", "a.3dl", "--steps", "-1"},
        {"--dump", "a.3dl", "--steps", "+3"},
        {"--dump", "a.3dl", "--steps", "3x"},
        {"--dump", "a.3dl", "--steps", "0x10"},
        {"--dump", "a.3dl", "--steps", ""},
        {"--dump", "a.3dl", "--steps", "2147483648"},
        {"--render", "a.3dl"},
        {"--render", "a.3dl", "--out"},
        {"--render", "a.3dl", "--out", ""},
        {"--render", "a.3dl", "--deck", "1"},
        {"--render", "a.3dl", "--out", "d", "--fps", "25"},
        {"--render", "a.3dl", "--out", "d", "--size", "1280"},
        {"--render", "a.3dl", "--out", "d", "--size", "1280x"},
        {"--render", "a.3dl", "--out", "d", "--size", "x720"},
        {"--render", "a.3dl", "--out", "d", "--every", "1.5"},
    };
    for (const TArgs& args : cases) {
        EXPECT_FALSE(ParseCommandLine(args).has_value()) << ::testing::PrintToString(args);
    }
}

// The values are taken as given, in any order; the render mode itself tells what is out of range.
TEST(CommandLine, TakesTheRenderOptionsInAnyOrder) {
    const auto line = ParseCommandLine({"--render", "a.3dl", "--size", "0x16385", "--every", "-2",
                                        "--to", "9", "--out", "f", "--from", "3", "--deck", "-1"});
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->Mode, TMode::Render);
    EXPECT_EQ(line->FileName, "a.3dl");
    const TRenderRequest& r = line->Render;
    EXPECT_EQ(r.OutDir, "f");
    EXPECT_EQ(r.Width, 0);
    EXPECT_EQ(r.Height, 16385);
    EXPECT_EQ(r.Every, -2);
    EXPECT_EQ(r.To, 9);
    EXPECT_EQ(r.From, 3);
    EXPECT_EQ(r.Deck, -1);

    const auto defaults = ParseCommandLine({"--render", "a.3dl", "--out", "f"});
    ASSERT_TRUE(defaults.has_value());
    EXPECT_EQ(defaults->Render.Width, 1280);
    EXPECT_EQ(defaults->Render.Height, 720);
    EXPECT_EQ(defaults->Render.Every, 1);
    EXPECT_EQ(defaults->Render.From, 0);
    EXPECT_FALSE(defaults->Render.To.has_value());
}
