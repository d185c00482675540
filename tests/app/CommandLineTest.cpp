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
    };
    for (const TArgs& args : cases) {
        EXPECT_FALSE(ParseCommandLine(args).has_value()) << ::testing::PrintToString(args);
    }
}
